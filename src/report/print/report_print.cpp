#include "report/print/report_print.h"

#include <algorithm>
#include <climits>

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPaintDevice>
#include <QPdfWriter>
#include <QStringDecoder>
#include <QTextDocument>
#include <QTextFrame>
#include <QUrl>

#include "platform/files/atomic_file.h"

namespace report {

namespace {

// The resolution the pages are laid out at, whatever they are printed on. Laying out for the
// printer itself would break lines (and so pages) differently in the preview, on paper and in a
// PDF, whose resolutions differ; fonts measured this finely scale to any of them without
// visible error.
constexpr int kLayoutDpi = 1200;

// A surface that is never painted on, only measured: the fixed resolution above.
class CLayoutDevice : public QPaintDevice {
public:
    QPaintEngine* paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY:
                return kLayoutDpi;
            // One A4 page; the layout asks for the page size through the document, not here.
            case PdmWidth:
                return kLayoutDpi * 827 / 100;
            case PdmHeight:
                return kLayoutDpi * 1169 / 100;
            case PdmWidthMM:
                return 210;
            case PdmHeightMM:
                return 297;
            case PdmNumColors:
                return INT_MAX;
            case PdmDepth:
                return 32;
            case PdmDevicePixelRatio:
                return 1;
            case PdmDevicePixelRatioScaled:
                return int(devicePixelRatioFScale());
        }
        return QPaintDevice::metric(metric);
    }
};

QPaintDevice& LayoutDevice() {
    static CLayoutDevice device;
    return device;
}

QString FileError(const QString& path, const QString& reason) {
    return QDir::toNativeSeparators(path) + QStringLiteral(": ") + reason;
}

// The right edge of the widest thing laid out: tables are frames, and a frame keeps the width
// its fixed-width cells ask for even where the page is narrower.
qreal WidestContent(const QTextDocument& document) {
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    qreal widest = layout->documentSize().width();
    QList<QTextFrame*> frames = document.rootFrame()->childFrames();
    while (!frames.isEmpty()) {
        QTextFrame* frame = frames.takeLast();
        widest = std::max(widest, layout->frameBoundingRect(frame).right());
        frames.append(frame->childFrames());
    }
    return widest;
}

}  // namespace

std::unique_ptr<QTextDocument> LoadReportDocument(const QString& htmlPath, QString* error) {
    QFile file(htmlPath);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) {
            *error = FileError(htmlPath, file.errorString());
        }
        return nullptr;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error) {
            *error = FileError(htmlPath, file.errorString());
        }
        return nullptr;
    }
    // The byte order mark (or a meta charset) says the encoding and is not part of the text.
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    if (!decoder.isValid()) {
        decoder = QStringDecoder(QStringDecoder::Utf8);
    }
    const QString html = decoder.decode(bytes);

    auto document = std::make_unique<QTextDocument>();
    // Pictures are named relative to the report, as a browser opening the file finds them.
    document->setBaseUrl(QUrl::fromLocalFile(QFileInfo(htmlPath).absoluteFilePath()));
    document->setHtml(html);
    return document;
}

void SetReportPageMargins(QPagedPaintDevice& device, QMarginsF inches) {
    QPageLayout layout = device.pageLayout();
    layout.setUnits(QPageLayout::Inch);
    const QMarginsF least = layout.minimumMargins();
    const QMarginsF margins(std::max({inches.left(), least.left(), 0.0}),
                            std::max({inches.top(), least.top(), 0.0}),
                            std::max({inches.right(), least.right(), 0.0}),
                            std::max({inches.bottom(), least.bottom(), 0.0}));
    device.setPageMargins(margins, QPageLayout::Inch);
}

void PaginateForDevice(QTextDocument& document, const QPagedPaintDevice& device) {
    document.documentLayout()->setPaintDevice(&LayoutDevice());
    // The device's margins are the page's margins; the document adds none of its own.
    document.setDocumentMargin(0);
    const QRectF area = device.pageLayout().paintRect(QPageLayout::Inch);
    const QSizeF page(area.width() * kLayoutDpi, area.height() * kLayoutDpi);
    document.setPageSize(page);
    // Wider pages, printed smaller, until the widest table fits. Relative widths grow with the
    // page, so one round may not be enough; fixed widths fit after the first.
    qreal scale = 1.0;
    for (int round = 0; round < 4; ++round) {
        const qreal widest = WidestContent(document);
        if (!(widest > page.width() * scale) || page.width() <= 0) {
            break;
        }
        scale = widest / page.width();
        document.setPageSize(page * scale);
    }
}

void PrintReportDocument(QTextDocument& document, QPagedPaintDevice& device) {
    PaginateForDevice(document, device);
    document.print(&device);
}

QPageSize DefaultPageSize(const QLocale& locale) {
    switch (locale.territory()) {
        case QLocale::UnitedStates:
        case QLocale::Canada:
            return QPageSize(QPageSize::Letter);
        default:
            return QPageSize(QPageSize::A4);
    }
}

bool WriteReportPdf(const QString& htmlPath, const QString& pdfPath, QMarginsF inches,
                    QString* error) {
    const std::unique_ptr<QTextDocument> document = LoadReportDocument(htmlPath, error);
    if (!document) {
        return false;
    }
    // Drawn into memory first: the target is replaced only by a complete file.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setTitle(document->metaInformation(QTextDocument::DocumentTitle));
        writer.setPageSize(DefaultPageSize());
        SetReportPageMargins(writer, inches);
        PrintReportDocument(*document, writer);
    }
    pdf.close();
    if (pdf.data().isEmpty()) {
        if (error) {
            *error = FileError(pdfPath, QStringLiteral("no page could be drawn"));
        }
        return false;
    }
    QString reason;
    if (!WriteFileAtomically(pdfPath, pdf.data(), &reason)) {
        if (error) {
            *error = FileError(pdfPath, reason);
        }
        return false;
    }
    return true;
}

}  // namespace report
