#include "platform/documents.h"

#include <QStandardPaths>

#include "platform/log.h"

namespace vellumo::platform {

std::string DocumentsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
}

void InitLogPath() {
    logPath = MakeLogPath(DocumentsFolder());
}

}  // namespace vellumo::platform
