#pragma once

#include "report/DataPipeline.h"
#include "report/ReportDefinition.h"

#include <QString>

class QWidget;

// The captions of the header's six filter labels, as the print button composes them.
struct LogReportCaptions {
    QString data;      // lblData
    QString usuario;   // lblUsuario
    QString acao;      // lblAcao
    QString hora;      // lblHora
    QString tabela;    // lblTabela
    QString conteudo;  // lblConteudo
};

// The report ppReport1: a header with the names, the page text, the filters and
// the column titles; one band per log entry (fields DATA, HORA, ACAO, TABELA,
// USUARIO and the text LOG); a footer with the maker and the date and time.
report::ReportDefinition logReportDefinition(const LogReportCaptions& captions);

// Lays out the pipeline's rows with that report and shows the preview, modal.
void previewLogReport(const report::DataPipeline& pipeline, const LogReportCaptions& captions,
                      QWidget* parent);
