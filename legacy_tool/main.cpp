// SetupVk2: the single-window setup tool for VKT02 sensors.

#include "legacy_tool/main_form.h"
#include "legacy_tool/settings_location.h"
#include "legacy_tool/user_prompts.h"

#include <QApplication>
#include <QScreen>

#include <clocale>

int main(int argc, char** argv) {
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
