#include "app/about_box.h"

#include "app/version.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TsrAbout::TsrAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TsrAbout"));
    setWindowTitle(QStringLiteral("За програмата"));

    auto* title = new QLabel(QStringLiteral("<h2>Управление на автосервиз</h2>"), this);
    title->setAlignment(Qt::AlignCenter);
    auto* version = new QLabel(versionLine(), this);
    version->setObjectName(QStringLiteral("lbVersion"));
    version->setAlignment(Qt::AlignCenter);
    auto* close = new QPushButton(QStringLiteral("Затвори"), this);
    close->setObjectName(QStringLiteral("btnClose"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(version);
    layout->addWidget(close, 0, Qt::AlignCenter);
    setMinimumWidth(340);
}

QString TsrAbout::versionLine() {
    // The "e" of this word is a Latin letter: the text users know is kept exactly.
    return QStringLiteral("вeрсия ") + app::versionText();
}
