// The version block the Windows programs carry, read back the way Explorer
// reads it. Only Windows programs have one.
#ifdef _WIN32

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ProjectVersion.h"
#include "platform/ExecutablePath.h"

namespace sf {
namespace {

class VersionResource : public ::testing::TestWithParam<const wchar_t*> {
  protected:
    void SetUp() override {
        const auto program = executableDirectory() / GetParam();
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(program.c_str(), &ignored);
        ASSERT_NE(size, 0u) << program << " has no version block";
        block.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(program.c_str(), 0, size, block.data()));
    }

    template <typename T>
    const T* query(const wchar_t* path) {
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(block.data(), path, &value, &length) || length == 0) return nullptr;
        return static_cast<const T*>(value);
    }

    std::vector<char> block;
};

TEST_P(VersionResource, NamesVersion1520InUsEnglishAndWindows1252) {
    const auto* fixed = query<VS_FIXEDFILEINFO>(L"\\");
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, DWORD{(SF_VERSION_MAJOR << 16) | SF_VERSION_MINOR});
    EXPECT_EQ(fixed->dwFileVersionLS, DWORD{SF_VERSION_PATCH << 16});
    EXPECT_EQ(fixed->dwProductVersionMS, DWORD{(SF_VERSION_MAJOR << 16) | SF_VERSION_MINOR});
    EXPECT_EQ(fixed->dwFileOS, DWORD{VOS__WINDOWS32});

    const auto* translation = query<WORD>(L"\\VarFileInfo\\Translation");
    ASSERT_NE(translation, nullptr);
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 0x04E4);

    const auto* fileVersion = query<wchar_t>(L"\\StringFileInfo\\040904e4\\FileVersion");
    ASSERT_NE(fileVersion, nullptr);
    EXPECT_EQ(std::wstring(fileVersion), L"" SF_VERSION ".0");
    const auto* originalName = query<wchar_t>(L"\\StringFileInfo\\040904e4\\OriginalFilename");
    ASSERT_NE(originalName, nullptr);
    EXPECT_EQ(std::wstring(originalName), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Programs, VersionResource,
                         ::testing::Values(L"sfmaker.exe", L"AP2.EXE", L"SparrowflasherMaker.exe"));

}  // namespace
}  // namespace sf

#endif  // _WIN32
