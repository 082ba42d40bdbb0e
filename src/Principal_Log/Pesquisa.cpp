#include "Pesquisa.h"

#include <QStringEncoder>
#include <QStringList>

namespace {

// The numbers of a date or time text, split at `separator`, blanks around them
// ignored; nothing when a part is blank or not a number.
std::optional<QList<int>> numbers(const QString& text, QChar separator, int count) {
    const QStringList parts = text.split(separator);
    if (parts.size() != count)
        return std::nullopt;
    QList<int> out;
    for (const QString& part : parts) {
        const QString t = trimmed(part);
        if (t.isEmpty() || t.size() > 4)
            return std::nullopt;
        for (QChar c : t) {
            if (c < u'0' || c > u'9')
                return std::nullopt;
        }
        out.push_back(t.toInt());
    }
    return out;
}

QString dateLiteral(const QDate& d) {
    return quoted(QStringLiteral("%1/%2/%3")
                      .arg(d.month(), 2, 10, QLatin1Char('0'))
                      .arg(d.day(), 2, 10, QLatin1Char('0'))
                      .arg(d.year(), 4, 10, QLatin1Char('0')));
}

QString timeLiteral(const QTime& t, const char* seconds) {
    return quoted(QStringLiteral("%1:%2")
                      .arg(t.hour(), 2, 10, QLatin1Char('0'))
                      .arg(t.minute(), 2, 10, QLatin1Char('0')) +
                  QLatin1String(seconds));
}

// The log is 8-bit Windows-1252; a character it cannot hold becomes "?". The
// converter's own substitute is the control character 0x1A, so a text it
// cannot take whole is converted again one character at a time.
std::string windows1252(const QString& text) {
    constexpr auto kName = "windows-1252";
    QStringEncoder whole(kName, QStringConverter::Flag::Stateless);
    QByteArray bytes = whole.encode(text);
    if (whole.hasError()) {
        bytes.clear();
        // An error stays set once raised, and in Qt 6.4 an encoder assigned over
        // another reports none at all: a fresh one is made in place after each.
        std::optional<QStringEncoder> one(std::in_place, kName, QStringConverter::Flag::Stateless);
        for (qsizetype i = 0; i < text.size();) {
            const qsizetype n =
                text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()
                    ? 2
                    : 1;
            const QByteArray b = one->encode(QStringView(text).mid(i, n));
            if (one->hasError()) {
                bytes += '?';
                one.emplace(kName, QStringConverter::Flag::Stateless);
            } else {
                bytes += b;
            }
            i += n;
        }
    }
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool blankDate(const QString& text) {
    return trimmed(text) == QStringLiteral("/  /");
}
bool blankTime(const QString& text) {
    return trimmed(text) == QStringLiteral(":");
}

}  // namespace

QString trimmed(const QString& text) {
    qsizetype first = 0, last = text.size();
    while (first < last && text[first].unicode() <= u' ')
        ++first;
    while (last > first && text[last - 1].unicode() <= u' ')
        --last;
    return text.mid(first, last - first);
}

QString quoted(const QString& text) {
    QString q = text;
    q.replace(u'\'', QStringLiteral("''"));
    return u'\'' + q + u'\'';
}

std::optional<QDate> textoParaData(const QString& text) {
    const auto n = numbers(text, u'/', 3);
    if (!n)
        return std::nullopt;
    int year = (*n)[2];
    const QString yearText = trimmed(text.split(u'/')[2]);
    if (yearText.size() <= 2) {
        // Within fifty years of today, as two-digit years are read here.
        const int now = QDate::currentDate().year();
        year += (now / 100) * 100;
        if (year > now + 50)
            year -= 100;
        if (year <= now - 50)
            year += 100;
    }
    const QDate date(year, (*n)[1], (*n)[0]);
    if (!date.isValid() || year < 1)
        return std::nullopt;
    return date;
}

std::optional<QTime> textoParaHora(const QString& text) {
    const auto n = numbers(text, u':', 2);
    if (!n || (*n)[0] > 23 || (*n)[1] > 59)
        return std::nullopt;
    return QTime((*n)[0], (*n)[1]);
}

PesquisaMontada montaPesquisa(const FiltrosPesquisa& f) {
    PesquisaMontada result;
    if (blankDate(f.data1) && blankDate(f.data2) && blankTime(f.hora1) && blankTime(f.hora2) &&
        trimmed(f.acao).isEmpty() && trimmed(f.usuario).isEmpty() && trimmed(f.tabela).isEmpty() &&
        trimmed(f.conteudo).isEmpty()) {
        result.message = QStringLiteral("Informe algum parâmetro para a pesquisa!");
        return result;
    }

    QStringList conditions;
    auto refuse = [&](const char* message, CampoPesquisa field) {
        result.message = QString::fromUtf8(message);
        result.field = field;
    };
    if (!blankDate(f.data1)) {
        const auto d = textoParaData(f.data1);
        if (!d)
            return refuse("Data inicial inválida!", CampoPesquisa::Data1), result;
        conditions << QStringLiteral("(DATA >= ") + dateLiteral(*d) + u')';
    }
    if (!blankDate(f.data2)) {
        const auto d = textoParaData(f.data2);
        if (!d)
            return refuse("Data final inválida!", CampoPesquisa::Data2), result;
        conditions << QStringLiteral("(DATA <= ") + dateLiteral(*d) + u')';
    }
    if (!blankTime(f.hora1)) {
        const auto t = textoParaHora(f.hora1);
        if (!t)
            return refuse("Hora inicial inválida!", CampoPesquisa::Hora1), result;
        conditions << QStringLiteral("(HORA >= ") + timeLiteral(*t, ":00") + u')';
    }
    if (!blankTime(f.hora2)) {
        const auto t = textoParaHora(f.hora2);
        if (!t)
            return refuse("Hora final inválida!", CampoPesquisa::Hora2), result;
        conditions << QStringLiteral("(HORA <= ") + timeLiteral(*t, ":59") + u')';
    }
    if (!trimmed(f.acao).isEmpty())
        conditions << QStringLiteral("(ACAO = ") + quoted(trimmed(f.acao)) + u')';
    if (!trimmed(f.usuario).isEmpty()) {
        conditions << QStringLiteral("(USUARIO = ") + quoted(trimmed(f.usuario)) + u')';
    }
    if (!trimmed(f.tabela).isEmpty()) {
        conditions << QStringLiteral("(TABELA = ") + quoted(trimmed(f.tabela)) + u')';
    }
    if (!trimmed(f.conteudo).isEmpty()) {
        conditions << QStringLiteral("(LOG LIKE ") + quoted(u'%' + trimmed(f.conteudo) + u'%') +
                          u')';
    }

    const QString statement = QStringLiteral("SELECT * FROM LOG WHERE ") +
                              conditions.join(QStringLiteral(" AND ")) +
                              QStringLiteral(" ORDER BY ID");
    result.statement = windows1252(statement);
    return result;
}
