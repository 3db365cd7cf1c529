#include "CAboutDlg.h"

#include "frame/CSetting.h"

#include <QLabel>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(20, 20, 20, 20);
    const QString strName = CSetting::GetString("GENERAL_PROGRAME_NAME", "Name");
    const QString strVersion = CSetting::GetString("GENERAL_PROGRAME_VERSION", "Version");
    pLayout->addWidget(
        new QLabel(QString::asprintf("%s v%s", strName.toUtf8().constData(), strVersion.toUtf8().constData()), this));
    pLayout->addWidget(new QLabel("Contact: support@ovreltrainer.example", this));
    setWindowTitle("About");
}
