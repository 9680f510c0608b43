#include "XlsxReader.h"

#include <zip.h>

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <stdexcept>

namespace ponencias::test {

namespace {

std::pair<int, int> ParseRef(QStringView ref) {
    int column = 0;
    qsizetype at = 0;
    while (at < ref.size() && ref[at].isLetter()) {
        column = column * 26 + (ref[at].unicode() - 'A' + 1);
        ++at;
    }
    return {ref.mid(at).toInt(), column};
}

// Texts in the file write control characters (and a literal "_x") as "_xHHHH_".
QString DecodeEscapes(const QString& text) {
    static const QRegularExpression escape(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString decoded;
    qsizetype from = 0;
    for (auto it = escape.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        decoded += text.mid(from, match.capturedStart() - from);
        decoded += QChar(match.captured(1).toUShort(nullptr, 16));
        from = match.capturedEnd();
    }
    return decoded + text.mid(from);
}

void ThrowOnError(const QXmlStreamReader& xml, const char* part) {
    if (xml.hasError()) {
        throw std::runtime_error(part + (": " + xml.errorString().toStdString()));
    }
}

// One entry of a styles list (a font, a fill, a border or a cell format): its own attributes by
// name, and each element inside it by name and its attributes as "element.attribute".
using StyleEntry = QHash<QString, QString>;

// The styles part's fonts, fills, borders and the cell formats that combine them (which are what
// a cell's style index points at), each described by its content.
QStringList ReadStyles(const QByteArray& part) {
    QHash<QString, std::vector<StyleEntry>> lists;
    QXmlStreamReader xml(part);
    QString list;
    int depth = 0, listDepth = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && --depth < listDepth) {
            list.clear();
        }
        if (!xml.isStartElement()) {
            continue;
        }
        const QString name = xml.name().toString();
        ++depth;
        if (QStringList{"fonts", "fills", "borders", "cellXfs"}.contains(name)) {
            list = name;
            listDepth = depth;
        } else if (!list.isEmpty()) {
            std::vector<StyleEntry>& entries = lists[list];
            const bool entry = depth == listDepth + 1;
            if (entry) {
                entries.emplace_back();
            }
            entries.back().insert(name, QString());
            for (const QXmlStreamAttribute& attribute : xml.attributes()) {
                entries.back().insert(
                    (entry ? QString() : name + '.') + attribute.name().toString(),
                    attribute.value().toString());
            }
        }
    }
    ThrowOnError(xml, "styles.xml");
    const auto flag = [](bool on, const char* name) {
        return on ? QLatin1String(name) : QLatin1String();
    };
    QStringList styles;
    for (const StyleEntry& xf : lists.value("cellXfs")) {
        const StyleEntry font = lists.value("fonts").at(xf.value("fontId").toUInt());
        const StyleEntry fill = lists.value("fills").at(xf.value("fillId").toUInt());
        const StyleEntry border = lists.value("borders").at(xf.value("borderId").toUInt());
        const bool bold = font.contains("b") && font.value("b.val") != u"0";
        styles << QStringList{"font=" + font.value("name.val"),
                              QString::number(font.value("sz.val").toDouble()) + flag(bold, "/b") +
                                  flag(font.contains("u"), "/u"),
                              font.value("color.rgb"),
                              "fill=" + fill.value("fgColor.rgb"),
                              "border=" + border.value("left.style"),
                              border.value("right.style"),
                              border.value("top.style"),
                              border.value("bottom.style"),
                              "align=" + xf.value("alignment.horizontal"),
                              xf.value("alignment.vertical") +
                                  flag(xf.value("alignment.wrapText") == u"1", "/wrap") +
                                  flag(xf.value("alignment.shrinkToFit") == u"1", "/shrink"),
                              QStringLiteral("numfmt=%1 rot=%2 indent=%3")
                                  .arg(xf.value("numFmtId").toInt())
                                  .arg(xf.value("alignment.textRotation").toInt())
                                  .arg(xf.value("alignment.indent").toInt())}
                      .join(' ');
    }
    return styles;
}

// The shared strings, each made of its "t" runs; none when the writer used none.
QStringList ReadSharedStrings(const QByteArray& part) {
    QStringList shared;
    QXmlStreamReader xml(part);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"si") {
            shared << QString();
        } else if (xml.isStartElement() && xml.name() == u"t") {
            shared.back() += DecodeEscapes(xml.readElementText());
        }
    }
    return shared;
}

}  // namespace

std::vector<std::pair<QString, QByteArray>> ReadZipEntries(const QString& path, bool stored) {
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!archive) {
        throw std::runtime_error("not a zip file");
    }
    std::vector<std::pair<QString, QByteArray>> entries;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t stat;
        zip_file_t* file =
            zip_stat_index(archive, zip_uint64_t(i), 0, &stat) == 0
                ? zip_fopen_index(archive, zip_uint64_t(i), stored ? ZIP_FL_COMPRESSED : 0)
                : nullptr;
        QByteArray data(qsizetype(stored ? stat.comp_size : stat.size), '\0');
        const zip_int64_t read =
            file ? zip_fread(file, data.data(), zip_uint64_t(data.size())) : -1;
        if (file) {
            zip_fclose(file);
        }
        if (read != data.size()) {
            zip_close(archive);
            throw std::runtime_error("unreadable zip entry");
        }
        entries.emplace_back(QString::fromUtf8(stat.name), data);
    }
    zip_close(archive);
    return entries;
}

QByteArray ReadZipPart(const QString& path, const QString& part) {
    for (auto& [name, bytes] : ReadZipEntries(path, false)) {
        if (name == part) {
            return bytes;
        }
    }
    return {};
}

XlsxSheet ReadXlsx(const QString& path) {
    XlsxSheet sheet;
    sheet.styles = ReadStyles(ReadZipPart(path, QStringLiteral("xl/styles.xml")));
    const QStringList shared = ReadSharedStrings(ReadZipPart(path, "xl/sharedStrings.xml"));
    QMap<QString, QString> targets;  // the sheet's links by relationship id
    QXmlStreamReader rels(ReadZipPart(path, "xl/worksheets/_rels/sheet1.xml.rels"));
    while (!rels.atEnd()) {
        if (rels.readNext() == QXmlStreamReader::StartElement && rels.name() == u"Relationship") {
            targets[rels.attributes().value(QLatin1String("Id")).toString()] =
                rels.attributes().value(QLatin1String("Target")).toString();
        }
    }
    QXmlStreamReader xml(ReadZipPart(path, QStringLiteral("xl/worksheets/sheet1.xml")));
    XlsxCell* cell = nullptr;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        const auto name = xml.name();
        const QXmlStreamAttributes attributes = xml.attributes();
        const auto attr = [&](const char* attribute) {
            return attributes.value(QLatin1String(attribute));
        };
        if (name == u"row") {
            sheet.rows[attr("r").toInt()] = {attr("ht").toDouble(), attr("customHeight") == u"1",
                                             attr("customFormat") == u"1" ? attr("s").toInt() : -1};
        } else if (name == u"col") {
            sheet.columns.push_back({attr("min").toInt(), attr("max").toInt(),
                                     attr("width").toDouble(), attr("style").toInt()});
        } else if (name == u"c") {
            cell = &sheet.cells[ParseRef(attr("r"))];
            cell->type = attributes.hasAttribute(QLatin1String("t")) ? attr("t").toString()
                                                                     : QStringLiteral("n");
            cell->style = attr("s").toInt();
        } else if (name == u"v" && cell) {
            const QString v = xml.readElementText();
            cell->value = cell->type == u"s" ? shared.value(v.toInt()) : v;
        } else if (name == u"f" && cell) {
            cell->formula = xml.readElementText();
        } else if (name == u"t" && cell) {
            cell->value += DecodeEscapes(xml.readElementText());
        } else if (name == u"hyperlink") {
            sheet.links[ParseRef(attr("ref"))] = targets.value(attr("r:id").toString());
        } else if (name == u"pane") {
            sheet.paneState = attr("state").toString();
            sheet.paneTopLeft = attr("topLeftCell").toString();
            sheet.paneYSplit = attr("ySplit").toDouble();
            sheet.paneXSplit = attr("xSplit").toDouble();
        } else if (name == u"selection") {
            sheet.activeCell = attr("activeCell").toString();
            sheet.selectedRange = attr("sqref").toString();
        }
    }
    ThrowOnError(xml, "sheet1.xml");
    return sheet;
}

int XlsxSheet::maxRow() const {
    return cells.isEmpty() ? 0 : cells.lastKey().first;
}

const XlsxCell* XlsxSheet::cell(int row, int column) const& {
    auto found = cells.constFind({row, column});
    return found == cells.constEnd() ? nullptr : &*found;
}

QString XlsxSheet::text(int row, int column) const {
    const XlsxCell* c = cell(row, column);
    return c ? c->value : QString();
}

namespace {

// Control characters, backslashes and line breaks written as escapes, so one cell is one line.
QString Escaped(const QString& text) {
    QString out;
    for (QChar ch : text) {
        if (ch == QLatin1Char('\\')) {
            out += QStringLiteral("\\\\");
        } else if (ch.unicode() < 0x20 || ch.unicode() == 0x7f) {
            out += QStringLiteral("\\x%1").arg(ch.unicode(), 2, 16, QLatin1Char('0'));
        } else {
            out += ch;
        }
    }
    return out;
}

}  // namespace

QStringList CanonicalDump(const XlsxSheet& sheet) {
    QStringList lines;
    const auto styleName = [&](int index) {
        return index < 0 ? QStringLiteral("-") : sheet.styles.at(index);
    };
    for (const auto& column : sheet.columns) {
        lines << QStringLiteral("col %1-%2 width=%3 ")
                         .arg(column.min)
                         .arg(column.max)
                         .arg(column.width, 0, 'g', 17) +
                     styleName(column.style);
    }
    for (auto row = sheet.rows.begin(); row != sheet.rows.end(); ++row) {
        lines << QStringLiteral("row %1 height=%2%3 ")
                         .arg(row.key())
                         .arg(row->height, 0, 'g', 17)
                         .arg(row->customHeight ? QLatin1String("/custom") : QLatin1String()) +
                     styleName(row->style);
    }
    for (auto cell = sheet.cells.begin(); cell != sheet.cells.end(); ++cell) {
        lines << QStringLiteral("cell %1,%2 ").arg(cell.key().first).arg(cell.key().second) +
                     cell->type + QStringLiteral(" [") + Escaped(cell->value) +
                     QStringLiteral("] formula=[") + Escaped(cell->formula) + QStringLiteral("] ") +
                     styleName(cell->style);
    }
    for (auto link = sheet.links.begin(); link != sheet.links.end(); ++link) {
        lines << QStringLiteral("link %1,%2 ").arg(link.key().first).arg(link.key().second) +
                     link.value();
    }
    lines << QStringLiteral("pane ") + sheet.paneState + QLatin1Char(' ') + sheet.paneTopLeft +
                 QStringLiteral(" y=%1 x=%2").arg(sheet.paneYSplit).arg(sheet.paneXSplit);
    lines << QStringLiteral("selection ") + sheet.activeCell + QLatin1Char(' ') +
                 sheet.selectedRange;
    return lines;
}

}  // namespace ponencias::test
