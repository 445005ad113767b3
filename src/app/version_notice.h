#pragma once

#include <QDate>
#include <QObject>
#include <QString>

class Dialogs;
class QNetworkAccessManager;

// On Tuesdays and Thursdays the program fetches the vendor's version file,
// stores it as Verocnpom.txt and, when its first line is a release date
// dd.mm.yy other than the program's own, asks the user to upgrade. It runs
// after the main window is shown, does not hold the window up, and every
// failure (no network, no file, a line of another form) passes in silence.
namespace version {

inline const QString kLabel = QStringLiteral("Ver. 2.7.1   07.08.24");
inline const QString kFileName = QStringLiteral("Verocnpom.txt");
inline const QString kAddress = QStringLiteral("http://www.kelmorin.hr/verzija/Verocnpom.txt");
inline const QString kNotice = QStringLiteral("Molim nadogradite program, postoji novija verzija!");
inline constexpr int kTimeoutMs = 5000;

bool isCheckDay(const QDate& day);
// The last eight characters of the version label.
QString releaseDate(const QString& label);
// True when the first line is a date dd.mm.yy that differs from the release.
bool announcesNewer(const QString& firstLine, const QString& label);

class Notice : public QObject {
    Q_OBJECT

public:
    Notice(Dialogs& dialogs, QObject* parent = nullptr);

    // Starts the fetch on a check day; returns at once.
    void start(const QDate& today);
    // Stores the fetched file and shows the notice when it is due.
    void handleDownload(const QByteArray& content);

Q_SIGNALS:
    void finished();

private:
    Dialogs& m_dialogs;
    QNetworkAccessManager* m_network = nullptr;
};

} // namespace version
