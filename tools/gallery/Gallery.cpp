// velmora-gallery OUTDIR
//
// Builds one dialog with every control kind of the platform (labelled in Russian, as the
// system's dialogs are) and a window painted with the drawing calls, and renders both in each
// device profile (240 x 320 at 96 dpi, 480 x 640 at 192 dpi) to PNG files in OUTDIR. Time is
// virtual, so that every run draws the same pixels.
#include <cstdio>
#include <filesystem>
#include <string>

#include "GalleryCanvas.h"
#include "GalleryDialog.h"
#include "platform/device/Device.h"
#include "platform/files/Files.h"
#include "platform/files/SimFileSystem.h"
#include "platform/time/Clock.h"
#include "platform/ui/CommDlg.h"
#include "platform/ui/Display.h"
#include "platform/ui/HtmlCtrl.h"
#include "platform/ui/Observe.h"
#include "platform/ui/VirtualDriver.h"

namespace {

struct Profile {
    const char* name;
    platform::DeviceProfile device;
};

bool Save(HWND window, const std::filesystem::path& folder, const std::string& name)
{
    std::filesystem::path file = folder / name;
    if (!platform::SaveWindowPng(window, file.string())) {
        std::fprintf(stderr, "velmora-gallery: cannot write %s\n", file.string().c_str());
        return false;
    }
    std::printf("%s\n", file.string().c_str());
    return true;
}

// A few folders and files for the file dialog to show.
void MakeDeviceFiles()
{
    platform::InstallFileSystem(std::make_shared<platform::SimFileSystem>());
    for (const wchar_t* folder : { L"\\My Documents", L"\\My Documents\\Личное", L"\\My Documents\\Templates" })
        CreateDirectoryW(folder, nullptr);
    for (const wchar_t* file : { L"\\My Documents\\notes.txt", L"\\My Documents\\отчет.txt",
             L"\\My Documents\\velmoradebug.txt", L"\\My Documents\\export.csv" }) {
        HANDLE handle = CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        CloseHandle(handle);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: velmora-gallery OUTDIR\n");
        return 2;
    }
    std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "velmora-gallery: cannot make %s: %s\n", folder.string().c_str(), error.message().c_str());
        return 1;
    }

    platform::VirtualClock clock;
    platform::InstallClock(&clock);
    int failures = 0;
    {
        platform::VirtualDriver driver(clock);
        auto instance = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x6A110000));
        InitHTMLControl(instance);
        MakeDeviceFiles();
        if (!gallery::RegisterCanvas(instance)) {
            std::fprintf(stderr, "velmora-gallery: cannot register the canvas class\n");
            return 1;
        }
        const Profile profiles[] = { { "qvga", platform::DeviceProfile::Qvga() }, { "vga", platform::DeviceProfile::Vga() } };
        for (const Profile& profile : profiles) {
            platform::ChangeDevice(profile.device);
            HWND dialog = gallery::CreateGalleryDialog(instance);
            driver.Pump();
            failures += Save(dialog, folder, std::string("gallery-") + profile.name + "-dialog.png") ? 0 : 1;
            DestroyWindow(dialog);

            int width = profile.device.screenWidth;
            HWND canvas = gallery::CreateCanvas(instance, 0, 0, width, profile.device.screenHeight);
            driver.Pump();
            failures += Save(canvas, folder, std::string("gallery-") + profile.name + "-canvas.png") ? 0 : 1;

            // A message box over the canvas: the whole screen.
            driver.OnMessageBox([&](const platform::VirtualDriver::MessageBoxInfo&) {
                failures += Save(nullptr, folder, std::string("gallery-") + profile.name + "-messagebox.png") ? 0 : 1;
                return IDYES;
            });
            MessageBoxW(canvas, L"Сохранить изменения настроек? Would you like to create a debug file?", L"Velmora",
                MB_YESNO | MB_ICONQUESTION);

            // The save dialog of the diagnostic report, on the simulated file system.
            driver.OnFileDialog([&](const platform::VirtualDriver::FileDialogInfo&) {
                failures += Save(nullptr, folder, std::string("gallery-") + profile.name + "-filedialog.png") ? 0 : 1;
                return std::wstring();
            });
            wchar_t path[MAX_PATH] = L"velmoradebug.txt";
            OPENFILENAMEW ofn {};
            ofn.lStructSize = sizeof ofn;
            ofn.hwndOwner = canvas;
            ofn.lpstrFilter = L"Text(*.txt)\0*.txt\0";
            ofn.lpstrFile = path;
            ofn.nMaxFile = MAX_PATH;
            ofn.lpstrInitialDir = L"\\My Documents";
            ofn.lpstrTitle = L"Save As";
            ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
            ofn.lpstrDefExt = L"txt";
            GetSaveFileNameW(&ofn);
            platform::DestroyAllWindows();
        }
        for (const std::wstring& fault : driver.Faults())
            std::fprintf(stderr, "velmora-gallery: %ls\n", fault.c_str());
    }
    platform::UninstallFileSystem();
    platform::InstallClock(nullptr);
    return failures == 0 ? 0 : 1;
}
