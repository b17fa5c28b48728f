#include "platform/framework/File.h"
#include "platform/framework/Object.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class CShapeForTest : public CObject {
    DECLARE_DYNCREATE(CShapeForTest)
};
class CCircleForTest : public CShapeForTest {
    DECLARE_DYNCREATE(CCircleForTest)
};

IMPLEMENT_DYNCREATE(CShapeForTest, CObject)
IMPLEMENT_DYNCREATE(CCircleForTest, CShapeForTest)

}  // namespace

TEST(ObjectTest, KindOfFollowsBaseChain) {
    CCircleForTest circle;
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CCircleForTest)));
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CShapeForTest)));
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(circle.IsKindOf(RUNTIME_CLASS(CFile)));
    CShapeForTest shape;
    EXPECT_FALSE(shape.IsKindOf(RUNTIME_CLASS(CCircleForTest)));
}

TEST(ObjectTest, CreatesByName) {
    std::unique_ptr<CObject> obj(CRuntimeClass::CreateObject("CCircleForTest"));
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ(obj->GetRuntimeClass(), RUNTIME_CLASS(CCircleForTest));
    EXPECT_EQ(CRuntimeClass::FromName("NoSuchClass"), nullptr);
    // Classes without a creation record cannot be made dynamically.
    EXPECT_EQ(CRuntimeClass::CreateObject("CFile"), nullptr);
    EXPECT_FALSE(obj->IsSerializable());
}
