#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>

#include <dlfcn.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

namespace {

const std::array<const char*, 12> kExports = {
    "TintoraBalance",     "TintoraDeallocate",   "TintoraInialize",      "TintoraVersion",
    "OrvexGetColorCoeff", "OrvexGetSingleColor", "OrvexGetWhiteBalance", "OrvexMonoToRgb",
    "OrvexRgbSetup",      "OrvexSetColorCoeff",  "OrvexWhiteBalance",    "OrvexWhiteBalanceRegion",
};

// Loads the library as a client does, and unloads it at the end.
class Library {
public:
    Library() : m_handle(dlopen(TINTORA_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL)) {}
    ~Library() {
        if (m_handle)
            dlclose(m_handle);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    bool Loaded() const { return m_handle != nullptr; }
    template <typename Function>
    Function* Get(const char* name) const {
        return reinterpret_cast<Function*>(dlsym(m_handle, name));
    }

private:
    void* m_handle;
};

TEST(TintoraExportsTest, AllTwelveEntryPointsAreFound) {
    Library library;
    ASSERT_TRUE(library.Loaded()) << dlerror();
    for (const char* name : kExports)
        EXPECT_NE(library.Get<void()>(name), nullptr) << name;
    // The conventional spelling is not there: clients bind the name as it is.
    EXPECT_EQ(library.Get<void()>("TintoraInitialize"), nullptr);
}

TEST(TintoraExportsTest, NothingElseIsExported) {
    QProcess nm;
    nm.start(TINTORA_NM, {"-D", "--defined-only", "--format=posix", TINTORA_LIBRARY_PATH});
    ASSERT_TRUE(nm.waitForFinished(30000));
    ASSERT_EQ(nm.exitCode(), 0) << nm.readAllStandardError().toStdString();
    QStringList names;
    for (const QString& line : QString::fromLocal8Bit(nm.readAllStandardOutput()).split('\n')) {
        if (!line.trimmed().isEmpty())
            names << line.section(' ', 0, 0);
    }
    names.sort();
    QStringList expected;
    for (const char* name : kExports)
        expected << name;
    expected.sort();
    EXPECT_EQ(names.join(' ').toStdString(), expected.join(' ').toStdString());
}

TEST(TintoraExportsTest, FreshLoadStartsFromZeroState) {
    for (int load = 0; load < 2; ++load) {
        Library library;
        ASSERT_TRUE(library.Loaded()) << dlerror();
        auto getCoeff = library.Get<void(float*, float*, float*)>("OrvexGetColorCoeff");
        auto getBalance = library.Get<void(int*, int*, int*)>("OrvexGetWhiteBalance");
        auto version = library.Get<int(char*)>("TintoraVersion");
        auto convert =
            library.Get<int(int, int, int, int, int, const unsigned char*, unsigned char*)>(
                "OrvexMonoToRgb");
        ASSERT_TRUE(getCoeff && getBalance && version && convert);

        float m[9];
        std::fill(std::begin(m), std::end(m), 1.0f);
        getCoeff(m, m + 3, m + 6);
        EXPECT_TRUE(std::all_of(std::begin(m), std::end(m), [](float v) { return v == 0.0f; }))
            << "load " << load;
        int r = -1, g = -1, b = -1;
        getBalance(&r, &g, &b);
        EXPECT_EQ(r + g + b, 0);
        char text[5];
        EXPECT_EQ(version(text), 5);
        EXPECT_STREQ(text, "2.20");

        // Mode 0 at load, and a zero matrix: a bright frame comes out black. Then leave state
        // behind (matrix, white balance, planes) that the next load must not see.
        const unsigned char src[16] = {200, 200, 200, 200, 200, 200, 200, 200,
                                       200, 200, 200, 200, 200, 200, 200, 200};
        unsigned char dst[48];
        std::memset(dst, 0xA5, sizeof dst);
        EXPECT_EQ(convert(4, 4, 1, 0, 0, src, dst), 0);
        EXPECT_TRUE(std::all_of(std::begin(dst), std::end(dst), [](int v) { return v == 0; }));
        const float row[3] = {1, 2, 3};
        library.Get<void(const float*, const float*, const float*)>("OrvexSetColorCoeff")(row, row,
                                                                                          row);
        library.Get<void(int, int, int)>("OrvexWhiteBalance")(10, 20, 30);
    }
}

}  // namespace
