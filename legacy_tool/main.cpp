// SetupVk2: the single-window setup tool for VKT02 sensors.

#include "legacy_tool/main_form.h"
#include "legacy_tool/settings_location.h"
#include "legacy_tool/user_prompts.h"
#include "version/program_info.h"

#include <QApplication>
#include <QScreen>

#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "usage: SetupVk2 [--help | --version]\n"
    "The VKT02 Setup Utility: connects to one Korvel VKT02 laser range sensor on an RS-232\n"
    "or RS-485 line, reads and changes its settings, watches its readings and runs scans on\n"
    "a list of sensor addresses; service staff also write serial numbers and upload firmware.\n"
    "  -h, --help     print this text and exit\n"
    "      --version  print the version and exit\n"
    "Other arguments are the toolkit's own (-platform, -style, -reverse, ...).\n";

} // namespace

int main(int argc, char** argv) {
    // Answered before the toolkit starts, so that they need no display.
    if (std::optional<int> status = vk::AnswerProgramInfoRequest(
            "SetupVk2", kUsage, std::vector<std::string>(argv + 1, argv + argc), stdout))
        return *status;
    QApplication app(argc, argv);
    // The toolkit adopts the user's locale; the sensor's numbers keep their decimal point.
    std::setlocale(LC_NUMERIC, "C");
    vk::legacy::QtUserPrompts prompts;
    vk::legacy::TfrmMain form(prompts,
                              vk::legacy::SettingsFilePath(QCoreApplication::applicationDirPath()));
    prompts.SetParent(&form);
    form.show();
    if (QScreen* screen = form.screen())
        form.move(screen->availableGeometry().center() - form.rect().center());
    return app.exec();
}
