#pragma once

#include "project.h"

#include <QByteArray>

/*!
 * Writes a project as indented UTF-8 JSON straight from the model, byte for byte what
 * QJsonDocument::toJson(QJsonDocument::Indented) makes of ProjectFormat::toJson(), without
 * building the JSON objects first: keys in sorted order, four spaces per level, numbers in their
 * shortest exact form and the same escapes.
 */
class ProjectJsonWriter
{
public:
    static QByteArray write(const Project &project);

    // How the file names an entrance ("fade", "slide-left", ...).
    static const char *entranceName(TextElement::Entrance entrance);
    // "#rrggbb", or "#aarrggbb" when not opaque; empty for an invalid colour, which reading
    // refuses.
    static QByteArray colorName(const QColor &color);

private:
    explicit ProjectJsonWriter(QByteArray *pOut);

    void writeScene(const Scene &scene);
    void writeElement(const TextElement &element);

    // Opens "key": on a new line of the given depth, after a comma unless bFirst.
    void key(int nDepth, const char *pKey, bool bFirst = false);
    void close(int nDepth, char closing); // a line break, the indentation and the bracket
    void string(const QString &strText);
    void number(double value);
    void number(int nValue);

    QByteArray &m_out;
};
