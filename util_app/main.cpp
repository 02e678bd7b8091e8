// VkUtil: set-up utility for Korvel laser range sensors.
#include "util_app/app.h"
#include "version/program_info.h"

#include <QApplication>

#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// The factory's switch stays out of it: it is not for every user.
constexpr const char* kUsage =
    "usage: VkUtil [--help | --version]\n"
    "Sets up, tests and services Korvel laser range sensors (VKT02, VKT04, VKT04 Vezir\n"
    "Orududu, Rmx Short, Rmx Long) on an RS-232 or RS-485 line. File > Connect asks for the\n"
    "port, line settings and sensor address, finds the sensor's check method and model and\n"
    "shows the model's panel; the \"Command log:\" bar lists every failed command.\n"
    "  -h, --help     print this text and exit\n"
    "      --version  print the version and exit\n"
    "Other arguments are the toolkit's own (-platform, -style, -reverse, ...).\n";

} // namespace

int main(int argc, char** argv) {
    // The manufacturing switch is judged on the command line as given, before the
    // toolkit removes the options it knows.
    std::vector<std::string> arguments(argv + 1, argv + argc);
    // Answered before the toolkit starts, so that they need no display.
    if (std::optional<int> status =
            vk::AnswerProgramInfoRequest("VkUtil", kUsage, arguments, stdout))
        return *status;
    QApplication application(argc, argv);
    // The toolkit adopts the user's locale; the sensor's numbers are shown and typed with
    // a decimal point whatever it is.
    std::setlocale(LC_NUMERIC, "C");
    vk::CVkUtilApp utility(std::move(arguments));
    if (!utility.InitInstance())
        return 1;
    return application.exec();
}
