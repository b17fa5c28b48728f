#include "platform/media/AviStreamBase.h"
#include "platform/media/AviStreamFunctions.h"

#include <gtest/gtest.h>

namespace {

// A stream of ten frames that only answers Info; the rest is the shared behaviour.
class TenFrames : public CAviStreamBase {
public:
    explicit TenFrames(bool* deleted) : m_deleted(deleted) {}
    ~TenFrames() override { *m_deleted = true; }
    HRESULT Create(LPARAM, LPARAM) override { return AVIERR_OK; }
    HRESULT Info(AviStreamInfo* info, LONG size) override {
        if (size < static_cast<LONG>(sizeof(AviStreamInfo)))
            return AVIERR_BUFFERTOOSMALL;
        *info = {};
        info->start = 2;
        info->length = 10;
        return AVIERR_OK;
    }
    HRESULT ReadFormat(LONG, void*, LONG*) override { return AVIERR_OK; }
    HRESULT Read(LONG, LONG, void*, LONG, LONG*, LONG*) override { return AVIERR_OK; }

private:
    bool* m_deleted;
};

}  // namespace

TEST(AviStreamBaseTest, SharedOperations) {
    bool deleted = false;
    IAVIStream* stream = new TenFrames(&deleted);
    EXPECT_EQ(AVIStreamAddRef(stream), 1u);
    EXPECT_EQ(AVIStreamLength(stream), 10);
    EXPECT_EQ(AVIStreamStart(stream), 2);

    struct Case {
        LONG position;
        LONG flags;
        LONG expected;
    };
    const Case cases[] = {
        {17, FIND_PREV | FIND_KEY, 17},   {17, FIND_NEXT | FIND_ANY, 17},
        {5, FIND_NEXT | FIND_FORMAT, -1}, {0, FIND_NEXT | FIND_FORMAT, 0},
        {5, FIND_PREV | FIND_FORMAT, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AVIStreamFindSample(stream, c.position, c.flags), c.expected) << c.flags;

    EXPECT_EQ(stream->SetFormat(0, nullptr, 0), AVIERR_UNSUPPORTED);
    EXPECT_EQ(stream->Write(0, 1, nullptr, 0, 0, nullptr, nullptr), AVIERR_UNSUPPORTED);
    EXPECT_EQ(stream->Delete(0, 1), AVIERR_UNSUPPORTED);
    EXPECT_EQ(stream->ReadData(0, nullptr, nullptr), AVIERR_UNSUPPORTED);
    EXPECT_EQ(stream->WriteData(0, nullptr, 0), AVIERR_UNSUPPORTED);

    void* out = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(stream->QueryInterface(GuidLiteral("{00020020-0000-0000-C000-000000000046}"), &out),
              E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(stream->QueryInterface(IID_IUnknown, &out), S_OK);
    EXPECT_EQ(out, static_cast<void*>(stream));
    EXPECT_EQ(AVIStreamRelease(stream), 1u);
    EXPECT_FALSE(deleted);
    EXPECT_EQ(AVIStreamRelease(stream), 0u);
    EXPECT_TRUE(deleted);

    EXPECT_EQ(AVIStreamLength(nullptr), -1);
    EXPECT_EQ(AVIStreamRead(nullptr, 0, 1, nullptr, 0, nullptr, nullptr), AVIERR_BADHANDLE);
}
