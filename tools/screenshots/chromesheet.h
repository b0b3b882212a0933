#pragma once

#include <QCoreApplication>
#include <QImage>
#include <QList>
#include <QString>

class QWidget;

/*!
 * One picture of the window chrome under the style sheet currently applied to the application:
 * two title bars with a modified project path and a menu bar, one with a long (elided) path and
 * an information notice, one with a short path and a warning notice, each notice with a button;
 * then a small frameless window with its four shadow strips in the active and in the inactive look,
 * with the corners enlarged.
 *
 * The widgets are real and shown (under Xvfb), so layouts and style sheets apply as in the
 * application.
 */
class ChromeSheet
{
    Q_DECLARE_TR_FUNCTIONS(ChromeSheet)

public:
    QImage render() const;

private:
    struct Section
    {
        QString caption;
        QImage image;
    };

    QImage titleBarWindow(const QString &filePath, int notificationType, const QString &message,
                          const QString &buttonText) const;
    QImage framedWindow(bool bActive) const;
    QImage stripPair() const;
    QImage compose(const QList<Section> &sections) const;
};
