#include "version_notice.h"

#include "common/dialogs.h"
#include "common/text_file.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>

namespace version {

bool isCheckDay(const QDate& day)
{
    return day.dayOfWeek() == Qt::Tuesday || day.dayOfWeek() == Qt::Thursday;
}

QString releaseDate(const QString& label) { return label.right(8); }

bool announcesNewer(const QString& firstLine, const QString& label)
{
    static const QRegularExpression date(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d\\d$"));
    return date.match(firstLine).hasMatch() && firstLine != releaseDate(label);
}

Notice::Notice(Dialogs& dialogs, QObject* parent) : QObject(parent), m_dialogs(dialogs) {}

void Notice::start(const QDate& today)
{
    if (!isCheckDay(today)) {
        Q_EMIT finished();
        return;
    }
    QFile::remove(kFileName);
    m_network = new QNetworkAccessManager(this);
    QNetworkRequest request{QUrl(kAddress)};
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setTransferTimeout(kTimeoutMs);
    QNetworkReply* reply = m_network->get(request);
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        reply->deleteLater();
        if (reply->error() == QNetworkReply::NoError)
            handleDownload(reply->readAll());
        Q_EMIT finished();
    });
}

void Notice::handleDownload(const QByteArray& content)
{
    if (!textfile::writeWhole(kFileName, content))
        return;
    const auto lines = textfile::readLines(kFileName);
    if (lines && !lines->isEmpty() && announcesNewer(lines->first(), kLabel))
        m_dialogs.message(kNotice);
}

} // namespace version
