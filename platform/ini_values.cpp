#include "ini_values.h"

#include <QCoreApplication>
#include "ini_file.h"

#include "numtext/number_text.h"

#include <cmath>
#include <limits>

std::optional<qint16> iniNumber(const QString &value)
{
    if (value == IniFile::Missing)
        return std::nullopt;
    const double number = numtext::leadingNumber(value);
    // Checked before rounding so that a huge value never reaches the integer conversion.
    if (!std::isfinite(number) || std::fabs(number) > 1.0e6)
        return std::nullopt;
    const auto whole = numtext::roundHalfEven(number);
    if (whole < std::numeric_limits<qint16>::min() || whole > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return qint16(whole);
}

QString iniFileWarning(const IniFile &ini)
{
    QString error;
    QString problem;
    switch (ini.state(&error)) {
    case IniFile::State::Absent:
    case IniFile::State::Usable:
        return {};
    case IniFile::State::NotRegular:
        problem = QCoreApplication::translate("Application", "it is not a regular file");
        break;
    case IniFile::State::TooLarge:
        problem = QCoreApplication::translate("Application", "it is larger than %1 MB")
                      .arg(IniFile::MaxFileSize / (1024 * 1024));
        break;
    case IniFile::State::Unreadable:
        problem = QCoreApplication::translate("Application", "it cannot be read (%1)").arg(error);
        break;
    }
    return QCoreApplication::translate("Application",
                                       "The configuration file cannot be used: %1.\r\n%2\r\n"
                                       "It is ignored and left as it is; settings chosen now are not remembered.")
        .arg(problem, ini.path());
}
