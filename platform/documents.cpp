#include "platform/documents.h"

#include <QStandardPaths>

#include "platform/log.h"

std::string DocumentsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
}

void InitLogPath() {
    logPath = MakeLogPath(DocumentsFolder());
}
