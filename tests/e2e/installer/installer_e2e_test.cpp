// End-to-end: the setup program installs the saver silently, the installed saver runs as the
// Display control panel starts it, and the uninstaller takes away what setup put there while the
// user's settings and pictures stay unless asked for.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <optional>
#include <string>

#include "e2e/saver_driver.h"
#include "installer_e2e.h"

namespace e2e {
namespace {

constexpr const wchar_t* kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lurvane";
constexpr const wchar_t* kDesktopKey = L"Control Panel\\Desktop";
constexpr const wchar_t* kUserKey = L"Software\\Brannick\\Lurvane";
constexpr const wchar_t* kCurrentSaver = L"SCRNSAVE.EXE";
constexpr DWORD kSetupTimeout = 60000;
constexpr DWORD kStartTimeout = 10000;

std::wstring& MutableSetupPath() {
    static std::wstring path;
    return path;
}
const std::wstring& SetupPath() { return MutableSetupPath(); }

// dist/, where the setup program sits beside the two stripped savers.
std::wstring ReleaseFile(const wchar_t* name) {
    return SetupPath().substr(0, SetupPath().rfind(L'\\') + 1) + name;
}

std::wstring SystemFolder() {
    wchar_t path[MAX_PATH] = {};
    GetSystemDirectoryW(path, MAX_PATH);
    return path;
}

std::wstring InstalledSaver() { return SystemFolder() + L"\\lurvane.scr"; }

std::wstring InstallFolder() {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, path);
    return std::wstring(path) + L"\\Lurvane";
}

std::wstring Uninstaller() { return InstallFolder() + L"\\uninstall.exe"; }

std::wstring PicturesFolder() { return DocumentsFolder() + L"\\Lurvane Pictures"; }

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::optional<std::wstring> RegistryText(HKEY root, const wchar_t* key, const wchar_t* name) {
    wchar_t text[1024] = {};
    DWORD size = sizeof text;
    if (RegGetValueW(root, key, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS) return std::nullopt;
    return std::wstring(text);
}

std::optional<DWORD> RegistryNumber(HKEY root, const wchar_t* key, const wchar_t* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueW(root, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS) return std::nullopt;
    return value;
}

bool KeyExists(HKEY root, const wchar_t* key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
}

void SetCurrentSaver(const std::wstring& path) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, kCurrentSaver, REG_SZ, path.c_str(),
                    static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
}

// The machine a PE file is built for (IMAGE_FILE_MACHINE_*), 0 when it is not one.
WORD MachineOf(const std::wstring& path) {
    const std::string bytes = ReadFileBytes(path);
    if (bytes.size() < 0x40) return 0;
    const auto byte = [&bytes](size_t at) { return static_cast<unsigned>(static_cast<unsigned char>(bytes[at])); };
    const size_t header = byte(0x3C) | byte(0x3D) << 8 | byte(0x3E) << 16 | byte(0x3F) << 24;
    if (header + 6 > bytes.size() || bytes.compare(header, 4, std::string("PE\0\0", 4)) != 0) return 0;
    return static_cast<WORD>(byte(header + 4) | byte(header + 5) << 8);
}

// "major.minor.patch" from the file's version resource, empty when it has none.
std::wstring FileVersionOf(const std::wstring& path) {
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
    if (size == 0) return {};
    std::string block(size, '\0');
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return {};
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || fixed == nullptr) return {};
    return std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(fixed->dwFileVersionMS)) +
           L"." + std::to_wstring(HIWORD(fixed->dwFileVersionLS));
}

// String 1 of the file, the name under which the Display control panel lists a saver.
std::wstring ListedNameOf(const std::wstring& path) {
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) return {};
    wchar_t name[256] = {};
    LoadStringW(module, 1, name, 256);
    FreeLibrary(module);
    return name;
}

std::wstring ProjectVersion() {
    return std::to_wstring(LURVANE_VERSION_MAJOR) + L"." + std::to_wstring(LURVANE_VERSION_MINOR) + L"." +
           std::to_wstring(LURVANE_VERSION_PATCH);
}

struct Finished {
    bool ended = false;  // the program and everything it started ended in time
    DWORD exitCode = STILL_ACTIVE;
};

// Runs a command line and waits until it and every process it started have ended: the
// uninstaller copies itself to the temp folder, starts the copy and ends at once, so waiting for
// the first process alone would look at a half-done uninstall.
Finished RunToTheEnd(const std::wstring& commandLine, DWORD milliseconds) {
    Finished finished;
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    if (job == nullptr) return finished;
    std::wstring line = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &startup,
                        &info)) {
        CloseHandle(job);
        return finished;
    }
    const bool inJob = AssignProcessToJobObject(job, info.hProcess) != FALSE;
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    const ULONGLONG end = GetTickCount64() + milliseconds;
    if (WaitForSingleObject(info.hProcess, milliseconds) == WAIT_OBJECT_0) {
        GetExitCodeProcess(info.hProcess, &finished.exitCode);
        while (inJob) {
            JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
            if (!QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting, sizeof accounting,
                                           nullptr))
                break;
            if (accounting.ActiveProcesses == 0) {
                finished.ended = true;
                break;
            }
            if (GetTickCount64() >= end) break;
            Sleep(50);
        }
    }
    if (!finished.ended) TerminateJobObject(job, 99);
    CloseHandle(info.hProcess);
    CloseHandle(job);
    return finished;
}

Finished RunSetup(const std::wstring& options) {
    return RunToTheEnd(Quoted(SetupPath()) + L" " + options, kSetupTimeout);
}

class Installer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Exists(SetupPath())) << "no setup program; scripts/package builds it";
        ASSERT_FALSE(Exists(InstalledSaver())) << "a saver is installed already";
        ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey)) << "an uninstall entry is there already";
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, kCurrentSaver);
        ClearStoredSettings();
    }

    // Leaves the prefix as it was for the tests that follow, also after a failed check.
    void TearDown() override {
        if (Exists(Uninstaller())) RunToTheEnd(Quoted(Uninstaller()) + L" /S", kSetupTimeout);
        // What a failing uninstaller left would fail every following test at its start.
        DeleteFileW(InstalledSaver().c_str());
        DeleteFileW(Uninstaller().c_str());
        RemoveDirectoryW(InstallFolder().c_str());
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kUninstallKey);
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, kUninstallKey);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, kCurrentSaver);
        ClearStoredSettings();
        DeleteFileW(picture_.c_str());
        DeleteFileW(profile_.c_str());
        RemoveDirectoryW(PicturesFolder().c_str());
    }

    // A stored setting and a picture with its profile, as a user leaves them.
    void MakeUserThings() {
        StoreSetting(L"RestartSec", L"7");
        CreateDirectoryW(PicturesFolder().c_str(), nullptr);
        ASSERT_TRUE(WriteBmp(picture_, 64, 48, [](int, int) { return 0x3060A0u; }));
        ASSERT_TRUE(WriteBytes(profile_, "[Wave]\r\nAmp=3\r\n"));
    }

    std::wstring picture_ = PicturesFolder() + L"\\Bucht.bmp";
    std::wstring profile_ = PicturesFolder() + L"\\Bucht.rpp";
};

TEST_F(Installer, ASilentSetupInstallsARunningSaverAndTheQuietUninstallTakesItAwayButNotTheUsersThings) {
    MakeUserThings();
    const Finished setup = RunSetup(L"/S /SETCURRENT");
    ASSERT_TRUE(setup.ended);
    EXPECT_EQ(setup.exitCode, 0u);

    // The 64-bit saver, stripped as released, where the Display control panel lists savers.
    const std::wstring saver = InstalledSaver();
    ASSERT_TRUE(Exists(saver));
    EXPECT_EQ(MachineOf(saver), IMAGE_FILE_MACHINE_AMD64);
    EXPECT_TRUE(ReadFileBytes(saver) == ReadFileBytes(ReleaseFile(L"x64\\lurvane.scr")));
    EXPECT_EQ(FileVersionOf(saver), ProjectVersion());
    EXPECT_EQ(ListedNameOf(saver), L"Lurvane");
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kDesktopKey, kCurrentSaver), saver);

    // The entry in Apps & features.
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName"), L"Lurvane");
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayVersion"), ProjectVersion());
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, L"Publisher"), L"Brannick");
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayIcon"), saver);
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, L"UninstallString"), Quoted(Uninstaller()));
    const std::optional<std::wstring> quiet = RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, L"QuietUninstallString");
    EXPECT_EQ(quiet, Quoted(Uninstaller()) + L" /S");
    EXPECT_TRUE(Exists(Uninstaller()));
    const DWORD savedKiB = static_cast<DWORD>(ReadFileBytes(saver).size() / 1024);
    const std::optional<DWORD> estimated = RegistryNumber(HKEY_LOCAL_MACHINE, kUninstallKey, L"EstimatedSize");
    ASSERT_TRUE(estimated.has_value());
    EXPECT_GT(*estimated, savedKiB);
    EXPECT_LT(*estimated, savedKiB + 1024);

    // Started as the system starts the current saver, it covers the screen and ends on a key.
    SetSaverPath(saver);
    {
        SaverProcess run(L"/s");
        ASSERT_TRUE(run.Started());
        ASSERT_NE(WaitForSaverReady(run.Id(), kStartTimeout), nullptr);
        PressKey(VK_SPACE);
        EXPECT_TRUE(run.WaitForExit(1000));
    }

    ASSERT_TRUE(quiet.has_value());
    const Finished uninstall = RunToTheEnd(*quiet, kSetupTimeout);
    ASSERT_TRUE(uninstall.ended);
    EXPECT_EQ(uninstall.exitCode, 0u);
    EXPECT_FALSE(Exists(saver));
    EXPECT_FALSE(Exists(Uninstaller()));
    EXPECT_FALSE(Exists(InstallFolder()));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(RegistryText(HKEY_CURRENT_USER, kDesktopKey, kCurrentSaver).has_value());
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, support::SettingsSubKey().c_str(), L"RestartSec"), L"7");
    EXPECT_TRUE(Exists(picture_));
    EXPECT_TRUE(Exists(profile_));
}

TEST_F(Installer, WithoutSetCurrentTheChosenSaverStaysAndTheUninstallLeavesItToo) {
    const std::wstring other = SystemFolder() + L"\\other.scr";
    SetCurrentSaver(other);
    // A second run over the first, as an update does, is no different.
    for (int run = 1; run <= 2; ++run) {
        const Finished setup = RunSetup(L"/S");
        ASSERT_TRUE(setup.ended) << "run " << run;
        EXPECT_EQ(setup.exitCode, 0u) << "run " << run;
        EXPECT_TRUE(Exists(InstalledSaver())) << "run " << run;
        EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kDesktopKey, kCurrentSaver), other) << "run " << run;
    }

    const Finished uninstall = RunToTheEnd(Quoted(Uninstaller()) + L" /S", kSetupTimeout);
    ASSERT_TRUE(uninstall.ended);
    EXPECT_FALSE(Exists(InstalledSaver()));
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kDesktopKey, kCurrentSaver), other);
}

TEST_F(Installer, UninstallWithPurgeAlsoTakesTheSettingsAndThePictures) {
    MakeUserThings();
    const Finished setup = RunSetup(L"/SETCURRENT /S");
    ASSERT_TRUE(setup.ended);
    ASSERT_TRUE(Exists(InstalledSaver()));
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kDesktopKey, kCurrentSaver), InstalledSaver());
    // The Display control panel may store the same saver in short, upper-case form.
    wchar_t shortPath[MAX_PATH] = {};
    ASSERT_NE(GetShortPathNameW(InstalledSaver().c_str(), shortPath, MAX_PATH), 0u);
    SetCurrentSaver(CharUpperW(shortPath));

    const Finished uninstall = RunToTheEnd(Quoted(Uninstaller()) + L" /S /PURGE", kSetupTimeout);
    ASSERT_TRUE(uninstall.ended);
    EXPECT_EQ(uninstall.exitCode, 0u);
    EXPECT_FALSE(Exists(InstalledSaver()));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(RegistryText(HKEY_CURRENT_USER, kDesktopKey, kCurrentSaver).has_value());
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUserKey));
    EXPECT_FALSE(Exists(PicturesFolder()));
}

}  // namespace

void SetSetupPath(const char* linuxPath) {
    std::wstring converted;
    for (const char* c = linuxPath; *c; ++c)
        converted.push_back(*c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*c)));
    MutableSetupPath() = linuxPath[0] == '/' ? L"Z:" + converted : converted;
}

}  // namespace e2e
