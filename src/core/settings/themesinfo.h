#pragma once

#include <QString>

/*!
 * One style-sheet theme of the catalogue kept by IThemesManager. The identifier comes from the
 * file name (veldra_dark.qss gives Dark); the display name is the same text.
 */
struct ThemesInfo
{
    QString id;
    QString name;
};
