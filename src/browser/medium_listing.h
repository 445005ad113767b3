#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class Platform;

// "Pregled sadržaja diskete": the files of the removable medium, found as
// the submission finds it.
namespace browser {

inline const QString kNoMedium = QStringLiteral("Disketa nije prisutna ili je neispravna!");

struct Medium {
    QString folder;
    QStringList files;
};

// None when there is no medium, more than one, or it cannot be read.
std::optional<Medium> readMedium(const Platform& platform);

} // namespace browser
