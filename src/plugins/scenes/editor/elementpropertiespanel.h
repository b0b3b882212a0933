#pragma once

#include "scenes_global.h"
#include "textelement.h"

#include <QWidget>

class ColorButton;
QT_BEGIN_NAMESPACE
class QComboBox;
class QLineEdit;
class QSpinBox;
QT_END_NAMESPACE

/*!
 * The properties of the selected text element: its text, its position on the stage (X and Y of
 * the top left corner, in pixels), colour, font size, entrance animation and the animation's
 * duration. Each finished edit is reported as the whole changed element;
 * nothing is reported while the panel shows an element or when a value did not change.
 */
class SCENES_EXPORT ElementPropertiesPanel : public QWidget
{
    Q_OBJECT

public:
    explicit ElementPropertiesPanel(QWidget *parent = nullptr);

    // A null element clears the panel and disables it.
    void showElement(const TextElement *pElement);
    // Puts the keyboard into the text field with the text selected, ready to be replaced.
    void editText();

    static QString entranceName(TextElement::Entrance entrance);

signals:
    void elementEdited(const TextElement &changed);

private:
    void reportEdit();
    TextElement editedElement() const;

    QLineEdit *m_pTextEdit;
    ColorButton *m_pColorButton;
    QSpinBox *m_pFontSizeSpin;
    QComboBox *m_pEntranceCombo;
    QSpinBox *m_pEntranceDurationSpin;
    QSpinBox *m_pXSpin;
    QSpinBox *m_pYSpin;
    TextElement m_element; // as the document has it
    bool m_bShowing = false;
};
