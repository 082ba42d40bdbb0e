// The date and time conversion of the search: never a crash, and what it
// accepts is exactly what a second reading of the rules accepts, a real date or
// time that formats back and parses to the same value.

#include "FuzzSupport.h"

#include "Principal_Log/Pesquisa.h"

#include <QDate>
#include <QStringList>
#include <QTime>

#include <optional>
#include <vector>

namespace {

// The numbers between the separators: each part, blanks around it ignored, one
// to four ASCII digits. Also tells how many digits each part had.
std::optional<std::vector<int>> parts(const QString& text, QChar separator, int count,
                                      std::vector<int>* digits = nullptr) {
    const QStringList list = text.split(separator);
    if (list.size() != count)
        return std::nullopt;
    std::vector<int> out;
    for (const QString& raw : list) {
        const QString p = fuzz::trimBlanks(raw);
        if (p.isEmpty() || p.size() > 4)
            return std::nullopt;
        int n = 0;
        for (QChar c : p) {
            if (c.unicode() < u'0' || c.unicode() > u'9')
                return std::nullopt;
            n = n * 10 + (c.unicode() - u'0');
        }
        out.push_back(n);
        if (digits != nullptr)
            digits->push_back(static_cast<int>(p.size()));
    }
    return out;
}

void checkDate(const QString& text) {
    const std::optional<QDate> date = textoParaData(text);
    std::vector<int> digits;
    const auto n = parts(text, u'/', 3, &digits);

    std::optional<QDate> expected;
    if (n) {
        int year = (*n)[2];
        if (digits[2] <= 2) {
            // Within fifty years of today.
            const int now = QDate::currentDate().year();
            year = now - 49 + ((year - (now - 49)) % 100 + 100) % 100;
        }
        const QDate d(year, (*n)[1], (*n)[0]);
        if (year >= 1 && d.isValid())
            expected = d;
    }
    fuzz::check(date == expected, "textoParaData disagrees with the rules",
                fuzz::hex(text) + " gave " +
                    (date ? date->toString(Qt::ISODate).toStdString() : "nothing") + ", expected " +
                    (expected ? expected->toString(Qt::ISODate).toStdString() : "nothing"));
    if (!date)
        return;
    fuzz::check(date->isValid() && date->year() >= 1 && date->year() <= 9999,
                "textoParaData gave a date out of range");
    const QString shown =
        QString::asprintf("%02d/%02d/%04d", date->day(), date->month(), date->year());
    fuzz::check(textoParaData(shown) == date, "a date does not read back from its text",
                shown.toStdString());
}

void checkTime(const QString& text) {
    const std::optional<QTime> time = textoParaHora(text);
    const auto n = parts(text, u':', 2);
    std::optional<QTime> expected;
    if (n && (*n)[0] <= 23 && (*n)[1] <= 59)
        expected = QTime((*n)[0], (*n)[1]);
    fuzz::check(time == expected, "textoParaHora disagrees with the rules",
                fuzz::hex(text) + " gave " +
                    (time ? time->toString(Qt::ISODate).toStdString() : "nothing"));
    if (!time)
        return;
    fuzz::check(time->isValid() && time->second() == 0 && time->msec() == 0,
                "textoParaHora gave a time with seconds");
    const QString shown = QString::asprintf("%02d:%02d", time->hour(), time->minute());
    fuzz::check(textoParaHora(shown) == time, "a time does not read back from its text",
                shown.toStdString());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 256)
        return 0;
    const QString text = fuzz::typedText({reinterpret_cast<const char*>(data), size});
    checkDate(text);
    checkTime(text);
    return 0;
}
