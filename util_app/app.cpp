#include "util_app/app.h"

#include "util_app/document.h"
#include "util_app/frame.h"
#include "util_app/manufacturing_switch.h"
#include "util_app/model_parts.h"
#include "util_app/toolbar_icons.h"
#include "util_app/user_prompts.h"

#include <QApplication>
#include <QPointer>
#include <QThread>

namespace vk {

CVkUtilApp::CVkUtilApp(std::vector<std::string> arguments, UserPrompts* prompts)
    : arguments_(std::move(arguments)) {
    if (!prompts) {
        ownPrompts_ = std::make_unique<QtUserPrompts>();
        prompts = ownPrompts_.get();
    }
    prompts_ = prompts;
}

CVkUtilApp::~CVkUtilApp() {
    // The window goes first, while the document it shows still exists. No tick runs
    // meanwhile (ticks are handled by the event loop), and the document stops its ticker
    // when it goes.
    frame_.reset();
    doc_.reset();
}

bool CVkUtilApp::ManufacturingMode() const {
    return doc_ && doc_->ManufacturingMode();
}

bool CVkUtilApp::InitInstance() {
    // The profile is QSettings("Korvel", "VkUil"), opened where it is used.
    UseDesktopIconTheme();
    doc_ = std::make_unique<CVKT02Doc>(*this, *prompts_);
    frame_ = std::make_unique<CMainFrame>(*doc_);
    InstallModelParts(*doc_, *frame_->View());

    frame_->show();
    doc_->SetTitle(QStringLiteral("VkUtil"));
    frame_->UpdateTitle();

    doc_->SetManufacturingMode(IsManufacturingSwitch(arguments_));
    frame_->RefreshCommandStates();
    return true;
}

void CVkUtilApp::LogMessage(const char* text, LogIcon icon) {
    if (!text || !frame_)
        return;
    if (QThread::currentThread() != frame_->thread()) {
        QPointer<CMainFrame> frame = frame_.get();
        QMetaObject::invokeMethod(
            frame_.get(),
            [frame, line = std::string(text), icon] {
                if (frame)
                    frame->AddLogEntry(line.c_str(), icon);
            },
            Qt::QueuedConnection);
        return;
    }
    frame_->AddLogEntry(text, icon);
}

} // namespace vk
