#pragma once

#include <QDialog>

// The about box: the program's name and version.
class TsrAbout : public QDialog {
    Q_OBJECT
public:
    explicit TsrAbout(QWidget* parent = nullptr);

    // "вeрсия 1.00"
    static QString versionLine();
};
