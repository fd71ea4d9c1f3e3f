#include "app/information.h"

#include "app/version.h"

// The logo lives in the image bundle of the static core library.
static void registerImages()
{
    Q_INIT_RESOURCE(images);
}

Information::Information(QWidget *parent)
    : QDialog(parent)
{
    registerImages();
    ui.setupUi(this);
    ui.labelVersion->setText(QDialog::tr("Vn274 ver. ") + QLatin1String(vn274Version));
}
