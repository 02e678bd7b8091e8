#pragma once
// CVkUtilApp: the utility's application object. It starts the program in a fixed order
// (profile, document, frame and view, window, title, manufacturing switch), owns the
// document and the main window, and is where every log line ends up.

#include "sensor/log_sink.h"

#include <memory>
#include <string>
#include <vector>

namespace vk {

class CMainFrame;
class CVKT02Doc;
class UserPrompts;

class CVkUtilApp : public LogSink {
public:
    // `arguments`: the command line without the program name, as the program received
    // it (before the toolkit took its own options out). `prompts` replaces the message
    // boxes (tests); null uses Qt's. A QApplication must exist.
    explicit CVkUtilApp(std::vector<std::string> arguments, UserPrompts* prompts = nullptr);
    ~CVkUtilApp() override;
    CVkUtilApp(const CVkUtilApp&) = delete;
    CVkUtilApp& operator=(const CVkUtilApp&) = delete;

    // Creates the document, the main window and its view, shows the window and reads the
    // command line. False when start-up failed (the program then ends).
    bool InitInstance();

    // The document's manufacturing mode; off before InitInstance.
    bool ManufacturingMode() const;
    // The document; null before InitInstance.
    CVKT02Doc* GetDocument() const { return doc_.get(); }
    // The main window; null before InitInstance and after it was destroyed.
    CMainFrame* MainFrame() const { return frame_.get(); }
    UserPrompts& Prompts() const { return *prompts_; }

    // One line for the command log; dropped while there is no main window. Lines from
    // other threads are copied and appended on the user-interface thread.
    void LogMessage(const char* text, LogIcon icon) override;

private:
    std::vector<std::string> arguments_;
    std::unique_ptr<UserPrompts> ownPrompts_;
    UserPrompts* prompts_;
    std::unique_ptr<CVKT02Doc> doc_;
    std::unique_ptr<CMainFrame> frame_;
};

} // namespace vk
