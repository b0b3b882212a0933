#include "urlrecorder.h"

#include <QDesktopServices>

namespace {
const char *const s_schemes[] = {"file", "http", "https"};
}

UrlRecorder::UrlRecorder()
{
    for (const char *scheme : s_schemes)
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "openUrl");
}

UrlRecorder::~UrlRecorder()
{
    for (const char *scheme : s_schemes)
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
}
