#pragma once

#include <QDate>
#include <QString>
#include <QTime>

#include <optional>
#include <string>

// The eight filter texts, as the fields of the main window read back.
struct FiltrosPesquisa {
    QString data1, data2;  // "  /  /    " when blank
    QString hora1, hora2;  // "  :  " when blank
    QString acao, usuario, tabela;
    QString conteudo;
};

// Which field a refused search points the operator to.
enum class CampoPesquisa { Nenhum, Data1, Data2, Hora1, Hora2 };

struct PesquisaMontada {
    std::string statement;  // Windows-1252 bytes; empty when refused
    QString message;        // why it was refused
    CampoPesquisa field = CampoPesquisa::Nenhum;
    bool ok() const { return message.isEmpty(); }
};

// The search statement for the filters, or the message that refuses them.
PesquisaMontada montaPesquisa(const FiltrosPesquisa& filtros);

// Text to date as the Brazilian short date format reads it (day, month, year);
// blanks around the numbers ignored; the year must be given; dates that do not
// exist are refused. Two-digit years fall within fifty years of today.
std::optional<QDate> textoParaData(const QString& text);
// "HH:MM" to a time; hours 0-23 and minutes 0-59, both given.
std::optional<QTime> textoParaHora(const QString& text);
// A text for a statement: quotes doubled, one before and one after.
QString quoted(const QString& text);
// Blanks (code 32 or lower) off both ends.
QString trimmed(const QString& text);
