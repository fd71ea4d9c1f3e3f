#include "app/filedialog.h"

#include <QCoreApplication>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>

namespace {

// Qt's Polish translation (6.4) has no type names for the list's folders and
// drives; the program's translations carry them under Qt's own context, which
// Qt looks them up in.
[[maybe_unused]] const struct { const char *source; const char *comment; } qtFileTypeNames[] = {
    QT_TRANSLATE_NOOP3("QAbstractFileIconProvider", "Folder", "All other platforms"),
    QT_TRANSLATE_NOOP3("QAbstractFileIconProvider", "Drive", ""),
    QT_TRANSLATE_NOOP3("QAbstractFileIconProvider", "Unknown", ""),
};

// The file list with its sizes and dates in the default locale.
class FileListInProgramLocale : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (role != Qt::DisplayRole || !files)
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        switch (index.column()) {
        case SizeColumn:
            if (!files->isDir(source))
                return QLocale().formattedDataSize(files->size(source));
            break;
        case DateColumn:
            return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
        default:
            break;
        }
        return QIdentityProxyModel::data(index, role);
    }

private:
    // QFileSystemModel's columns: name, size, type, date modified.
    enum { SizeColumn = 1, DateColumn = 3 };
};

} // namespace

QString askForFileName(QFileDialog::AcceptMode mode, QWidget *parent, const QString &caption,
                       const QString &dir, const QString &filter, QString *selectedFilter)
{
    QFileDialog dialog(parent, caption, dir, filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setSupportedSchemes({ QStringLiteral("file") });
    dialog.setProxyModel(new FileListInProgramLocale(&dialog));
    if (selectedFilter && !selectedFilter->isEmpty())
        dialog.selectNameFilter(*selectedFilter);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    if (selectedFilter)
        *selectedFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().value(0);
}
