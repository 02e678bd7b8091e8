#include "util_app/app.h"

#include "util_app/document.h"
#include "util_app/frame.h"
#include "util_app/manufacturing_switch.h"
#include "util_app/model_parts.h"
#include "util_app/user_prompts.h"

#include <QApplication>
#include <QPointer>
#include <QThread>

namespace vk {

namespace {
CVkUtilApp* current = nullptr;
} // namespace

CVkUtilApp::CVkUtilApp(std::vector<std::string> arguments, UserPrompts* prompts)
    : arguments_(std::move(arguments)) {
    if (!prompts) {
        ownPrompts_ = std::make_unique<QtUserPrompts>();
        prompts = ownPrompts_.get();
    }
    prompts_ = prompts;
    current = this;
}

CVkUtilApp::~CVkUtilApp() {
    // The window goes first, while the document it shows still exists; the document's
    // ticker stops before the window's view disappears.
    if (doc_)
        doc_->Ticker().StopThread();
    frame_.reset();
    doc_.reset();
    if (current == this)
        current = nullptr;
}

CVkUtilApp* CVkUtilApp::Current() {
    return current;
}

bool CVkUtilApp::InitInstance() {
    // The profile is QSettings("Korvel", "VkUil"), opened where it is used.
    doc_ = std::make_unique<CVKT02Doc>(*this, *prompts_);
    frame_ = std::make_unique<CMainFrame>(*doc_);
    InstallModelParts(*doc_, *frame_->View());

    frame_->show();
    doc_->SetTitle(QStringLiteral("VkUtil"));
    frame_->UpdateTitle();

    manufacturing_ = IsManufacturingSwitch(arguments_);
    doc_->SetManufacturingMode(manufacturing_);
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
