#include "output/page_texts.h"

#include <QString>

#include "document/page_processing.h"
#include "platform/cancel.h"
#include "platform/dialogs.h"
#include "platform/log.h"
#include "widgets/activity_dialog.h"

namespace vellumo::output {

using namespace vellumo::platform;
using widgets::activityDialog;

bool CollectPageTexts(const document::CommandContext& context, QWidget* owner,
                      std::vector<std::shared_ptr<const ocr::PageText>>& texts) {
    texts.clear();
    document::PageProcessing* processing = context.processing;
    if (!processing) return true;
    const std::string missing = processing->TakeMissingLanguageMessage();
    if (!missing.empty()) {
        // The PDF is still written, without text on the pages that lack their language.
        WriteLog(missing + "\n");
        MessageBox(owner, QString::fromStdString(missing), MessageIcon::Exclamation,
                   MessageButtons::Ok);
    }
    const QString before = activityDialog ? activityDialog->statusText() : QString();
    const auto waited = processing->WaitForText([](int done, int total) {
        if (activityDialog) {
            activityDialog->setStatusText(QStringLiteral("Recognising text, page %1 of %2")
                                              .arg(std::min(done + 1, total))
                                              .arg(total));
        }
        widgets::PumpActivityMessages();
        return cancelRequested != 1;
    });
    if (activityDialog) activityDialog->setStatusText(before);
    if (waited == document::PageProcessing::WaitResult::Stopped) {
        WriteLog("Cancelled\r\n");
        return false;
    }
    texts = processing->PageTexts();
    return true;
}

}  // namespace vellumo::output
