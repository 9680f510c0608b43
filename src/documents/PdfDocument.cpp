// The reference documents printed to PDF: rich text laid out on letter-size pages with a
// footer, composed in memory so that only a finished document reaches the disk.

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <stdexcept>

#include "Documents.h"

namespace ponencias::documents {

namespace {

// Rich text takes lengths in pixels of a 96 dpi screen and scales them to the writer.
QString StyleSheet() {
    const auto pt = [](double points) {
        return QString::number(qRound(points * 96.0 / 72.0)) + QStringLiteral("px");
    };
    return QStringLiteral(
               "h1 { font-size: 20pt; color: #993300; margin-bottom: %1; }"
               "h2 { font-size: 14pt; color: #993300; margin-top: %2; margin-bottom: %3; }"
               "h3 { font-size: 11.5pt; margin-top: %4; margin-bottom: %3; }"
               "p { margin-top: 0px; margin-bottom: %5; }"
               "p.nota { font-size: 8.5pt; color: #444444; }"
               "p.subtitulo { font-size: 12pt; color: #555555; margin-bottom: %2; }"
               "table { border-collapse: collapse; margin-bottom: %5; }"
               "th { background-color: #993300; color: #ffffff; font-weight: bold; }"
               "td, th { padding: %6; border: 1px solid #999999; }"
               "td.numero { text-align: right; }"
               "tr.grupo td { background-color: #f2e6df; font-weight: bold; }")
        .arg(pt(4), pt(14), pt(5), pt(10), pt(6), pt(2.5));
}

}  // namespace

QByteArray PdfDocument(const QString& title, const QString& html) {
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Ponencias"));
        writer.setResolution(300);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                         QMarginsF(22, 20, 22, 16), QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&writer)) {
            throw std::runtime_error("no se pudo componer el PDF");
        }

        QTextDocument document;
        document.documentLayout()->setPaintDevice(&writer);
        document.setDocumentMargin(0);
        document.setDefaultFont(QFont(QStringLiteral("Liberation Sans"), 10));
        document.setDefaultStyleSheet(StyleSheet());
        document.setHtml(html);

        const QRectF page = writer.pageLayout().paintRectPixels(writer.resolution());
        const double millimetre = writer.resolution() / 25.4;
        const QSizeF body(page.width(), page.height() - 10 * millimetre);
        document.setPageSize(body);
        const int pages = document.pageCount();

        const QFont footerFont(QStringLiteral("Liberation Sans"), 8);
        for (int i = 0; i < pages; ++i) {
            if (i > 0) {
                writer.newPage();
            }
            painter.save();
            painter.setClipRect(QRectF(0, 0, body.width(), body.height()));
            painter.translate(0, -i * body.height());
            QAbstractTextDocumentLayout::PaintContext context;
            context.clip = QRectF(0, i * body.height(), body.width(), body.height());
            document.documentLayout()->draw(&painter, context);
            painter.restore();

            const double top = body.height() + 4 * millimetre;
            painter.setPen(QPen(QColor(0x99, 0x33, 0x00), 0.3 * millimetre));
            painter.drawLine(QPointF(0, top), QPointF(body.width(), top));
            painter.setPen(QColor(0x44, 0x44, 0x44));
            painter.setFont(footerFont);
            const QRectF line(0, top + 1 * millimetre, body.width(), 5 * millimetre);
            painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                             QStringLiteral("Mireolas · %1").arg(title));
            painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter,
                             QStringLiteral("Página %1 de %2").arg(i + 1).arg(pages));
        }
        if (!painter.end()) {
            throw std::runtime_error("no se pudo terminar el PDF");
        }
    }
    return pdf;
}

}  // namespace ponencias::documents
