#include "projectjsonwriter_p.h"

#include "projectformat.h"

#include <QLocale>

#include <cmath>

namespace {

char hexDigit(uint nValue)
{
    return "0123456789abcdef"[nValue & 0xf];
}

void appendEscape(QByteArray &out, ushort unit)
{
    const char escape[] = {
            '\\',          'u', hexDigit(unit >> 12), hexDigit(unit >> 8), hexDigit(unit >> 4),
            hexDigit(unit)};
    out.append(escape, sizeof(escape));
}

// An ASCII character as JSON wants it: quotes, backslashes and control characters escaped.
void appendAscii(QByteArray &out, char ch)
{
    switch (ch) {
    case '"':
        out.append("\\\"", 2);
        return;
    case '\\':
        out.append("\\\\", 2);
        return;
    case '\b':
        out.append("\\b", 2);
        return;
    case '\f':
        out.append("\\f", 2);
        return;
    case '\n':
        out.append("\\n", 2);
        return;
    case '\r':
        out.append("\\r", 2);
        return;
    case '\t':
        out.append("\\t", 2);
        return;
    default:
        if (static_cast<uchar>(ch) < 0x20)
            appendEscape(out, static_cast<uchar>(ch));
        else
            out.append(ch);
    }
}

// Appends the UTF-8 form of the character at *pIndex and steps over it; a surrogate without its
// partner cannot be written as UTF-8 and becomes an escape.
void appendNonAscii(QByteArray &out, const QString &strText, int *pIndex)
{
    const ushort unit = strText.at(*pIndex).unicode();
    uint code = unit;
    if (QChar::isHighSurrogate(unit) && *pIndex + 1 < strText.size() &&
        strText.at(*pIndex + 1).isLowSurrogate()) {
        code = QChar::surrogateToUcs4(unit, strText.at(++*pIndex).unicode());
    } else if (QChar::isSurrogate(unit)) {
        appendEscape(out, unit);
        return;
    }
    char utf8[4];
    int length = 0;
    if (code < 0x800) {
        utf8[length++] = char(0xc0 | (code >> 6));
    } else if (code < 0x10000) {
        utf8[length++] = char(0xe0 | (code >> 12));
        utf8[length++] = char(0x80 | ((code >> 6) & 0x3f));
    } else {
        utf8[length++] = char(0xf0 | (code >> 18));
        utf8[length++] = char(0x80 | ((code >> 12) & 0x3f));
        utf8[length++] = char(0x80 | ((code >> 6) & 0x3f));
    }
    utf8[length++] = char(0x80 | (code & 0x3f));
    out.append(utf8, length);
}

} // namespace

QByteArray ProjectJsonWriter::write(const Project &project)
{
    QByteArray out;
    int elements = 0;
    for (const Scene &scene : project.scenes)
        elements += scene.elements.size();
    out.reserve(256 + 160 * project.scenes.size() + 400 * elements);
    ProjectJsonWriter writer(&out);
    out.append('{');
    writer.key(1, "format", true);
    writer.string(ProjectFormat::formatName());
    writer.key(1, "scenes");
    out.append('[');
    for (int i = 0; i < project.scenes.size(); ++i) {
        if (i > 0)
            out.append(',');
        out.append('\n').append(8, ' ').append('{');
        writer.writeScene(project.scenes.at(i));
        writer.close(2, '}');
    }
    writer.close(1, ']');
    writer.key(1, "stage");
    out.append('{');
    writer.key(2, "frameRate", true);
    writer.number(project.frameRate);
    writer.key(2, "height");
    writer.number(project.height);
    writer.key(2, "width");
    writer.number(project.width);
    writer.close(1, '}');
    writer.key(1, "version");
    writer.number(ProjectFormat::Version);
    writer.close(0, '}');
    out.append('\n');
    return out;
}

const char *ProjectJsonWriter::entranceName(TextElement::Entrance entrance)
{
    switch (entrance) {
    case TextElement::Entrance::Fade:
        return "fade";
    case TextElement::Entrance::SlideLeft:
        return "slide-left";
    case TextElement::Entrance::SlideUp:
        return "slide-up";
    case TextElement::Entrance::Zoom:
        return "zoom";
    case TextElement::Entrance::None:
        break;
    }
    return "none";
}

QByteArray ProjectJsonWriter::colorName(const QColor &color)
{
    if (!color.isValid())
        return QByteArray();
    char name[9] = {'#'};
    int length = 1;
    const auto appendHex = [&](int channel) {
        name[length++] = hexDigit(uint(channel) >> 4);
        name[length++] = hexDigit(uint(channel));
    };
    if (color.alpha() != 255)
        appendHex(color.alpha());
    appendHex(color.red());
    appendHex(color.green());
    appendHex(color.blue());
    return QByteArray(name, length);
}

ProjectJsonWriter::ProjectJsonWriter(QByteArray *pOut)
    : m_out(*pOut)
{}

void ProjectJsonWriter::writeScene(const Scene &scene)
{
    key(3, "background", true);
    m_out.append('"').append(colorName(scene.background)).append('"');
    key(3, "duration");
    number(scene.duration);
    key(3, "elements");
    m_out.append('[');
    for (int i = 0; i < scene.elements.size(); ++i) {
        if (i > 0)
            m_out.append(',');
        m_out.append('\n').append(16, ' ').append('{');
        writeElement(scene.elements.at(i));
        close(4, '}');
    }
    close(3, ']');
    key(3, "name");
    string(scene.name);
}

void ProjectJsonWriter::writeElement(const TextElement &element)
{
    const int depth = 5;
    key(depth, "color", true);
    m_out.append('"').append(colorName(element.color)).append('"');
    key(depth, "entrance");
    m_out.append('{');
    key(depth + 1, "duration", true);
    number(element.entranceDuration);
    key(depth + 1, "type");
    m_out.append('"').append(entranceName(element.entrance)).append('"');
    close(depth, '}');
    key(depth, "fontSize");
    number(element.fontSize);
    key(depth, "height");
    number(element.geometry.height());
    key(depth, "text");
    string(element.text);
    key(depth, "type");
    m_out.append("\"text\"");
    key(depth, "width");
    number(element.geometry.width());
    key(depth, "x");
    number(element.geometry.x());
    key(depth, "y");
    number(element.geometry.y());
}

void ProjectJsonWriter::key(int nDepth, const char *pKey, bool bFirst)
{
    if (!bFirst)
        m_out.append(',');
    m_out.append('\n').append(4 * nDepth, ' ').append('"').append(pKey).append("\": ", 3);
}

void ProjectJsonWriter::close(int nDepth, char closing)
{
    m_out.append('\n').append(4 * nDepth, ' ').append(closing);
}

void ProjectJsonWriter::string(const QString &strText)
{
    m_out.append('"');
    for (int i = 0; i < strText.size(); ++i) {
        const ushort unit = strText.at(i).unicode();
        if (unit < 0x80)
            appendAscii(m_out, char(unit));
        else
            appendNonAscii(m_out, strText, &i);
    }
    m_out.append('"');
}

// Whole numbers within 64 bits are written without exponent, others in the shortest form that
// reads back exactly; what JSON cannot hold is written as null.
void ProjectJsonWriter::number(double value)
{
    if (!std::isfinite(value)) {
        m_out.append("null", 4);
        return;
    }
    const bool whole = std::abs(value) < 18446744073709551616.0 && value == std::trunc(value);
    m_out.append(QByteArray::number(value, whole ? 'f' : 'g', QLocale::FloatingPointShortest));
}

void ProjectJsonWriter::number(int nValue)
{
    m_out.append(QByteArray::number(nValue));
}
