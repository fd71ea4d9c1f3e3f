#ifndef INFORMATION_H
#define INFORMATION_H

#include "ui_dialoginfo.h"

#include <QDialog>

// The about box: the product line, the logo, the version and the contact block.
// It has no signals or slots of its own, so its own texts translate in the
// context of QDialog.
class Information : public QDialog
{
public:
    explicit Information(QWidget *parent = nullptr);

private:
    Ui::DialogInfo ui;
};

#endif // INFORMATION_H
