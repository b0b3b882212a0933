#include "elementpropertiespanel.h"

#include "colorbutton.h"
#include "projectformat.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>

namespace {
const TextElement::Entrance entrances[] = {
        TextElement::Entrance::None, TextElement::Entrance::Fade, TextElement::Entrance::SlideLeft,
        TextElement::Entrance::SlideUp, TextElement::Entrance::Zoom};

QSpinBox *newSpinBox(const QString &objectName, int minimum, int maximum, const QString &suffix)
{
    auto *spin = new QSpinBox;
    spin->setObjectName(objectName);
    spin->setRange(minimum, maximum);
    spin->setSuffix(suffix);
    // Typing reports once, when the value is confirmed, not per key.
    spin->setKeyboardTracking(false);
    return spin;
}
} // namespace

ElementPropertiesPanel::ElementPropertiesPanel(QWidget *parent)
    : QWidget(parent)
    , m_pTextEdit(new QLineEdit)
    , m_pColorButton(new ColorButton)
    , m_pFontSizeSpin(newSpinBox(QStringLiteral("fontSizeSpin"), 1, 1000, tr(" px")))
    , m_pEntranceCombo(new QComboBox)
    , m_pEntranceDurationSpin(
              newSpinBox(QStringLiteral("entranceDurationSpin"), 0, 60000, tr(" ms")))
    , m_pXSpin(
              newSpinBox(QStringLiteral("elementXSpin"), 0, ProjectFormat::MaxStageSize, tr(" px")))
    , m_pYSpin(
              newSpinBox(QStringLiteral("elementYSpin"), 0, ProjectFormat::MaxStageSize, tr(" px")))
{
    setObjectName(QStringLiteral("elementPropertiesPanel"));
    m_pTextEdit->setObjectName(QStringLiteral("elementTextEdit"));
    m_pColorButton->setObjectName(QStringLiteral("elementColorButton"));
    m_pEntranceCombo->setObjectName(QStringLiteral("entranceCombo"));
    m_pEntranceDurationSpin->setSingleStep(100);
    for (TextElement::Entrance entrance : entrances)
        m_pEntranceCombo->addItem(entranceName(entrance), int(entrance));

    auto *layout = new QFormLayout(this);
    layout->addRow(tr("Text:"), m_pTextEdit);
    layout->addRow(tr("X:"), m_pXSpin);
    layout->addRow(tr("Y:"), m_pYSpin);
    layout->addRow(tr("Colour:"), m_pColorButton);
    layout->addRow(tr("Font size:"), m_pFontSizeSpin);
    layout->addRow(tr("Entrance:"), m_pEntranceCombo);
    layout->addRow(tr("Duration:"), m_pEntranceDurationSpin);

    connect(m_pTextEdit, &QLineEdit::editingFinished, this, &ElementPropertiesPanel::reportEdit);
    connect(m_pColorButton, &ColorButton::colorChosen, this, &ElementPropertiesPanel::reportEdit);
    connect(m_pFontSizeSpin, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &ElementPropertiesPanel::reportEdit);
    connect(m_pEntranceCombo, QOverload<int>::of(&QComboBox::activated), this,
            &ElementPropertiesPanel::reportEdit);
    connect(m_pEntranceDurationSpin, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &ElementPropertiesPanel::reportEdit);
    for (QSpinBox *position : {m_pXSpin, m_pYSpin})
        connect(position, QOverload<int>::of(&QSpinBox::valueChanged), this,
                &ElementPropertiesPanel::reportEdit);
    showElement(nullptr);
}

void ElementPropertiesPanel::showElement(const TextElement *pElement)
{
    m_bShowing = true;
    m_element = pElement ? *pElement : TextElement();
    m_pTextEdit->setText(pElement ? m_element.text : QString());
    m_pColorButton->setColor(pElement ? m_element.color : QColor());
    m_pFontSizeSpin->setValue(m_element.fontSize);
    m_pEntranceCombo->setCurrentIndex(m_pEntranceCombo->findData(int(m_element.entrance)));
    m_pEntranceDurationSpin->setValue(m_element.entranceDuration);
    m_pXSpin->setValue(qRound(m_element.geometry.x()));
    m_pYSpin->setValue(qRound(m_element.geometry.y()));
    setEnabled(pElement != nullptr);
    m_bShowing = false;
}

void ElementPropertiesPanel::editText()
{
    if (!isEnabled())
        return;
    m_pTextEdit->setFocus(Qt::OtherFocusReason);
    m_pTextEdit->selectAll();
}

QString ElementPropertiesPanel::entranceName(TextElement::Entrance entrance)
{
    switch (entrance) {
    case TextElement::Entrance::None:
        return tr("None");
    case TextElement::Entrance::Fade:
        return tr("Fade");
    case TextElement::Entrance::SlideLeft:
        return tr("Slide in from the right");
    case TextElement::Entrance::SlideUp:
        return tr("Slide in from below");
    case TextElement::Entrance::Zoom:
        return tr("Zoom");
    }
    return QString();
}

void ElementPropertiesPanel::reportEdit()
{
    if (m_bShowing || !isEnabled())
        return;
    const TextElement changed = editedElement();
    if (changed == m_element)
        return;
    m_element = changed;
    emit elementEdited(changed);
}

TextElement ElementPropertiesPanel::editedElement() const
{
    TextElement changed = m_element;
    changed.text = m_pTextEdit->text();
    changed.color = m_pColorButton->color();
    changed.fontSize = m_pFontSizeSpin->value();
    changed.entrance = TextElement::Entrance(m_pEntranceCombo->currentData().toInt());
    changed.entranceDuration = m_pEntranceDurationSpin->value();
    // Only a position typed here moves the element; the rounding of the shown one does not.
    const QPoint position(m_pXSpin->value(), m_pYSpin->value());
    if (position != m_element.geometry.topLeft().toPoint())
        changed.geometry.moveTopLeft(position);
    return changed;
}
