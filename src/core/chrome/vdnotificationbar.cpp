#include "vdnotificationbar.h"
#include "ui_vdnotificationbar.h"

#include <QPixmap>

VDNotificationBar::VDNotificationBar(QWidget *parent)
    : QFrame(parent, Qt::WindowFlags())
    , m_pUi(new Ui::VDNotificationBar)
{
    m_pUi->setupUi(this);
    connect(m_pUi->m_pButton, &QPushButton::clicked, this, &VDNotificationBar::buttonClicked);
    hide();
}

VDNotificationBar::~VDNotificationBar()
{
    disconnect(m_pUi->m_pButton, &QPushButton::clicked, this, &VDNotificationBar::buttonClicked);
    delete m_pUi;
}

void VDNotificationBar::show(const QString &message, Type type, const QString &buttonText,
                             bool bShowClose)
{
    // Any value other than Warning counts as information.
    const QString iconFile = type == Warning ? QStringLiteral(":/core/images/warning_16.png")
                                             : QStringLiteral(":/core/images/info_16.png");
    m_pUi->m_pIconLabel->setPixmap(QPixmap(iconFile));

    m_pUi->m_pMessageLabel->setText(message);
    m_pUi->m_pMessageLabel->setVisible(!message.isEmpty());

    m_pUi->m_pButton->setText(buttonText);
    m_pUi->m_pButton->setVisible(!buttonText.isEmpty());

    m_pUi->m_pCloseButton->setVisible(bShowClose);

    disconnect(this, &VDNotificationBar::buttonClicked, nullptr, nullptr);
    QFrame::show();
}
