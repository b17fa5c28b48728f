#include "frames/SharedRef.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

struct Tracked {
    explicit Tracked(int* deaths) : m_deaths(deaths) {}
    virtual ~Tracked() { ++*m_deaths; }
    int* m_deaths;
};

}  // namespace

TEST(SharedRefTest, EmptyHoldersDestroyNothing) {
    CSharedRef<Tracked> empty;
    CSharedRef<Tracked> copy(empty);
    EXPECT_TRUE(copy.IsEmpty());
    EXPECT_EQ(copy.UseCount(), 0);
    copy.Release();
    empty.Release();
}

TEST(SharedRefTest, LastHolderDestroys) {
    int deaths = 0;
    CSharedRef<Tracked> first(new Tracked(&deaths));
    CSharedRef<Tracked> second(first);
    EXPECT_EQ(second.UseCount(), 2);
    first.Release();
    EXPECT_TRUE(first.IsEmpty());
    EXPECT_EQ(deaths, 0);
    EXPECT_EQ(second.UseCount(), 1);
    second.Release();
    EXPECT_EQ(deaths, 1);
    second.Release();  // releasing an empty holder again does nothing
    EXPECT_EQ(deaths, 1);
}

TEST(SharedRefTest, Assignment) {
    int xDeaths = 0;
    int yDeaths = 0;
    CSharedRef<Tracked> a(new Tracked(&xDeaths));
    CSharedRef<Tracked> b(new Tracked(&yDeaths));
    CSharedRef<Tracked>& self = a;
    a = self;
    EXPECT_EQ(a.UseCount(), 1);
    EXPECT_EQ(xDeaths, 0);

    a = b;  // a was X's last owner
    EXPECT_EQ(xDeaths, 1);
    EXPECT_EQ(b.UseCount(), 2);
    EXPECT_EQ(a.Get(), b.Get());

    CSharedRef<Tracked> c(b);
    a = c;  // same object through another holder: the count never reaches 0 on the way
    EXPECT_EQ(yDeaths, 0);
    EXPECT_EQ(c.UseCount(), 3);
}

TEST(SharedRefTest, HoldersDroppedOnTwoThreadsDestroyOnce) {
    for (int round = 0; round < 50; ++round) {
        int deaths = 0;
        CSharedRef<Tracked> origin(new Tracked(&deaths));
        std::vector<CSharedRef<Tracked>> mine(200, origin);
        std::vector<CSharedRef<Tracked>> theirs(200, origin);
        origin.Release();
        std::thread worker([&theirs] { theirs.clear(); });
        mine.clear();
        worker.join();
        ASSERT_EQ(deaths, 1);
    }
}
