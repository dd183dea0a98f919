#include "pictures/ui/newmineralpicdialog.h"

#include "core/logging.h"
#include "pictures/nicepicinfos.h"
#include "pictures/ui/nicepicwidget.h"
#include "widgets/geometryrestore.h"

#include "ui_newmineralpicdialog.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImageReader>
#include <QKeyEvent>
#include <QMessageBox>
#include <QSettings>
#include <QSignalBlocker>

namespace {

const QString lastSourceKey = QStringLiteral("lastNicePicSourcePath");

} // namespace

NewMineralPicDialog::NewMineralPicDialog(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::NewMineralPicDialog>())
{
    new GeometryRestore(this, QStringLiteral("NewMineralPicDialog"));
    m_ui->setupUi(this);

    connect(m_ui->widget_add_mineral, &NicePicWidget::indexChanged, this,
            &NewMineralPicDialog::showRecordOf);
    for (QLineEdit *edit : {m_ui->lEditCopyright, m_ui->lEditCollection, m_ui->lEditLocation})
        connect(edit, &QLineEdit::textChanged, this, &NewMineralPicDialog::takeForm);
    connect(m_ui->tEditComment, &QPlainTextEdit::textChanged, this, &NewMineralPicDialog::takeForm);
    connect(m_ui->ButtNewNicePic, &QPushButton::clicked, this, &NewMineralPicDialog::addNewPicture);
    connect(m_ui->ButtAddNicePic, &QPushButton::clicked, this, &NewMineralPicDialog::savePicture);
    connect(m_ui->buttonBox, &QDialogButtonBox::rejected, this, &NewMineralPicDialog::closeClicked);
}

NewMineralPicDialog::~NewMineralPicDialog() = default;

NicePicWidget *NewMineralPicDialog::widget() const
{
    return m_ui->widget_add_mineral;
}

void NewMineralPicDialog::setMineral(const QString &name)
{
    m_mineral = name;
    // A picture chosen for another mineral must not end up under this one.
    m_chosenPicture.clear();
    m_modified = false;
    m_ui->lEditMineralName->setText(name);
    NicePicWidget *pictures = m_ui->widget_add_mineral;
    pictures->setMineral(name);
    const int count = NicePicInfos().pictureCount(name);
    qCDebug(logUiGeneral) << "addMineralPicture Mineralname and spinBoxNumber  " << name << count;
    pictures->setCurrentNumber(count);
}

void NewMineralPicDialog::showRecordOf(int)
{
    const int index = m_ui->widget_add_mineral->currentNumber() - 1;
    const NicePicInfo record = NicePicInfos().loadFromFolder(m_mineral, index);
    qCDebug(logUiGeneral) << "displaying:" << m_mineral << index;
    // Filling the form is no edit.
    const QSignalBlocker copyright(m_ui->lEditCopyright);
    const QSignalBlocker collection(m_ui->lEditCollection);
    const QSignalBlocker location(m_ui->lEditLocation);
    const QSignalBlocker comment(m_ui->tEditComment);
    m_ui->lEditMineralName->setText(record.mineral_name.isEmpty() ? m_mineral
                                                                  : record.mineral_name);
    m_ui->lEditLocation->setText(record.locality);
    m_ui->lEditCollection->setText(record.collection);
    m_ui->lEditCopyright->setText(record.pic_copyright);
    m_ui->tEditComment->setPlainText(record.remark);
}

NicePicInfo NewMineralPicDialog::recordFromForm(int number) const
{
    NicePicInfo record;
    record.mineral_name = m_mineral;
    record.pic_copyright = m_ui->lEditCopyright->text();
    record.remark = m_ui->tEditComment->toPlainText();
    record.collection = m_ui->lEditCollection->text();
    record.locality = m_ui->lEditLocation->text();
    record.mineral_pic_number = number;
    record.filename = m_mineral + QLatin1Char('_') + QString::number(number);
    return record;
}

void NewMineralPicDialog::takeForm()
{
    m_record = recordFromForm(m_ui->widget_add_mineral->currentNumber() - 1);
    m_ui->widget_add_mineral->showInfo(m_record);
    m_modified = true;
    m_ui->ButtAddNicePic->setEnabled(true);
}

void NewMineralPicDialog::addNewPicture()
{
    // An empty name would match every file of the store.
    if (m_mineral.isEmpty()) {
        qCWarning(logUiGeneral) << "no mineral chosen for a new picture";
        return;
    }
    QSettings settings;
    const QString chosen = QFileDialog::getOpenFileName(
        this, tr("Mineralbild zur Aufnahme in die Datenbank auswählen"),
        settings.value(lastSourceKey).toString(),
        tr("Bilder im jpg-Format (*.jpg) ;; Alle Dateien (*.*)"));
    if (chosen.isEmpty()) {
        qCDebug(logUiGeneral) << "no file selected";
        return;
    }
    settings.setValue(lastSourceKey, chosen);
    if (!QImageReader(chosen).canRead()) {
        qCWarning(logUiGeneral) << "not a readable picture:" << chosen;
        QMessageBox::warning(this, tr("Kein Bild"),
                             tr("Die Datei %1 kann nicht als Bild gelesen werden.")
                                 .arg(QDir::toNativeSeparators(chosen)));
        return;
    }
    m_chosenPicture = chosen;
    qCDebug(logUiGeneral) << "file selected - now to be shown Emitting index changed" << chosen;

    {
        const QSignalBlocker copyright(m_ui->lEditCopyright);
        const QSignalBlocker collection(m_ui->lEditCollection);
        const QSignalBlocker location(m_ui->lEditLocation);
        const QSignalBlocker comment(m_ui->tEditComment);
        m_ui->lEditCollection->clear();
        m_ui->lEditCopyright->clear();
        m_ui->lEditLocation->clear();
        m_ui->tEditComment->clear();
    }

    const NicePicInfos store;
    QDir().mkpath(store.pictureFolder());
    QFile::remove(store.workingCopyPath());
    if (!QFile::copy(chosen, store.workingCopyPath()))
        qCWarning(logDataLibraries) << "temporarly nicepic could not be copied from" << chosen
                                    << "to" << store.workingCopyPath();
    m_ui->ButtAddNicePic->setEnabled(true);
    m_ui->widget_add_mineral->setDeleteEnabled(false);

    // The picture is entered at once under the next free number.
    const int number = store.pictureCount(m_mineral);
    const QString picture = store.picturePath(m_mineral, number);
    qCDebug(logUiGeneral) << "0. copy" << chosen << "to" << picture;
    const bool copied = !QFile::exists(picture);
    if (copied && !QFile::copy(chosen, picture)) {
        qCWarning(logDataLibraries)
            << "nicepic could not be copied from" << chosen << "to" << picture;
        reportNotSaved(picture);
        return;
    }
    m_record = recordFromForm(number);
    const QString recordPath = store.recordPath(m_mineral, number);
    qCDebug(logUiGeneral) << "1. read QJson object from dialog and write it to file - pathname"
                          << recordPath;
    if (!NicePicInfos::writeInfo(recordPath, m_record)) {
        // A picture without description would later keep its number for another picture.
        if (copied)
            QFile::remove(picture);
        reportNotSaved(recordPath);
        return;
    }
    m_modified = false;

    NicePicWidget *pictures = m_ui->widget_add_mineral;
    const int count = store.pictureCount(m_mineral);
    pictures->setPictureCount(count);
    pictures->setCurrentNumber(count);
    pictures->showInfo(m_record);
    emit infoNicePicChanged(number);
}

void NewMineralPicDialog::savePicture()
{
    if (m_ui->lEditCopyright->text().isEmpty()) {
        QMessageBox::information(this, tr("kein copyright eingegeben"),
                                 tr("bitte sicherstellen, dass keine Rechte verletzt werden"));
        return;
    }
    if (m_mineral.isEmpty()) {
        qCWarning(logUiGeneral) << "no mineral chosen for the picture";
        return;
    }
    qCDebug(logUiGeneral) << "inserting to database";
    NicePicWidget *pictures = m_ui->widget_add_mineral;
    const NicePicInfos store;
    if (pictures->currentNumber() != store.pictureCount(m_mineral))
        qCDebug(logUiGeneral) << "unsaved chages discarded";
    const int number = pictures->currentNumber() - 1;
    if (number < 0)
        return;

    const QString picture = store.picturePath(m_mineral, number);
    if (!QFile::exists(picture)) {
        if (m_chosenPicture.isEmpty()) {
            qCWarning(logDataLibraries) << "no picture chosen for" << picture;
            return;
        }
        QDir().mkpath(store.pictureFolder());
        if (!QFile::copy(m_chosenPicture, picture)) {
            qCWarning(logDataLibraries)
                << "nicepic could not be copied from" << m_chosenPicture << "to" << picture;
            reportNotSaved(picture);
            return;
        }
    }
    m_record = recordFromForm(number);
    if (!NicePicInfos::writeInfo(store.recordPath(m_mineral, number), m_record)) {
        reportNotSaved(store.recordPath(m_mineral, number));
        return;
    }
    m_modified = false;
    m_ui->ButtNewNicePic->setEnabled(true);
    pictures->setDeleteEnabled(true);
    pictures->setPictureCount(store.pictureCount(m_mineral));
    emit infoNicePicChanged(number);
}

void NewMineralPicDialog::reportNotSaved(const QString &path)
{
    QMessageBox::warning(this, tr("Bild nicht gespeichert"),
                         tr("Das Bild oder seine Beschreibung konnte nicht als %1 gespeichert "
                            "werden.")
                             .arg(QDir::toNativeSeparators(QDir::cleanPath(path))));
}

void NewMineralPicDialog::closeClicked()
{
    qCDebug(logUiGeneral) << "close^ button";
    m_ui->ButtNewNicePic->setEnabled(true);
    m_ui->ButtAddNicePic->setEnabled(false);
    m_ui->widget_add_mineral->setDeleteEnabled(true);
    reject();
}

void NewMineralPicDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
