// VkUtil: set-up utility for Korvel laser range sensors.
#include "util_app/app.h"

#include <QApplication>

#include <clocale>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // The manufacturing switch is judged on the command line as given, before the
    // toolkit removes the options it knows.
    std::vector<std::string> arguments(argv + 1, argv + argc);
    QApplication application(argc, argv);
    // The toolkit adopts the user's locale; the sensor's numbers are shown and typed with
    // a decimal point whatever it is.
    std::setlocale(LC_NUMERIC, "C");
    vk::CVkUtilApp utility(std::move(arguments));
    if (!utility.InitInstance())
        return 1;
    return application.exec();
}
