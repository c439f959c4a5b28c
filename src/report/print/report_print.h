#pragma once

// Reports on paper and in PDF files. The report file is laid out page by page once for the page
// it goes on, and that one layout is what the print preview shows, the printer prints and a PDF
// holds, so that all three break the pages in the same places. Needs Qt GUI (fonts, images) but
// no widgets: the command-line tool writes PDFs without a display.

#include <memory>

#include <QLocale>
#include <QMarginsF>
#include <QPageSize>
#include <QString>

class QPagedPaintDevice;
class QTextDocument;

namespace report {

// A report file as a document: its encoding from its byte order mark (or UTF-8), its pictures
// from the folder it lies in. Nothing, and the reason in `error`, when it cannot be read.
std::unique_ptr<QTextDocument> LoadReportDocument(const QString& htmlPath, QString* error);

// Gives the device the report's margins (inches), each no smaller than its paper allows: a
// printer that cannot print as close to the edge as asked would otherwise keep its own margins.
void SetReportPageMargins(QPagedPaintDevice& device, QMarginsF inches);

// Lays `document` out in pages of the device's printable area (its page size less its margins).
// Content wider than that area is made smaller until it fits, as a browser shrinks a page to fit
// the paper, so that no table is cut off at the right edge.
void PaginateForDevice(QTextDocument& document, const QPagedPaintDevice& device);

// Paginates `document` for `device` and draws its pages there (those of the device's page range,
// when it has one).
void PrintReportDocument(QTextDocument& document, QPagedPaintDevice& device);

// The paper a PDF is written on: Letter in the United States and Canada, A4 elsewhere.
QPageSize DefaultPageSize(const QLocale& locale = QLocale());

// Writes the report at `htmlPath` as a PDF on the locale's paper with the given margins (inches).
// The file is written whole or not at all; false and the reason in `error` otherwise.
bool WriteReportPdf(const QString& htmlPath, const QString& pdfPath, QMarginsF inches,
                    QString* error);

}  // namespace report
