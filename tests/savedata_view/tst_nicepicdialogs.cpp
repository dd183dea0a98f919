#include "savedata_view/dialogshownicepic.h"
#include "savedata_view/newmineralpicdialog.h"
#include "savedata_view/nicepicwidget.h"

#include "measurementfolders.h"
#include "nicepicstore.h"
#include "testfiles.h"

#include <QtTest>
#include <QtWidgets>

namespace {

// Clicks `button`, answering file choosers with `file` (empty: cancels) and message boxes with
// OK; records their titles in `shown`.
void clickAnswering(QAbstractButton *button, const QString &file, QStringList *shown)
{
    QObject context;
    auto *timer = new QTimer(&context);
    QObject::connect(timer, &QTimer::timeout, &context, [file, shown] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *chooser = qobject_cast<QFileDialog *>(modal)) {
            *shown << chooser->windowTitle();
            chooser->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(file);
            file.isEmpty() ? chooser->reject() : static_cast<QDialog *>(chooser)->accept();
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            *shown << box->windowTitle();
            box->button(QMessageBox::Ok)->click();
        }
    });
    timer->start(10);
    button->click();
}

// The picture as the view's document loaded it (a pixmap).
bool showsColor(const NicePicWidget &widget, const QColor &color)
{
    const QUrl url = QUrl::fromLocalFile(
        NicePicInfos().picturePath(widget.mineral(), widget.currentNumber() - 1));
    const QVariant picture = widget.findChild<QTextBrowser *>()->document()->resource(
        QTextDocument::ImageResource, url);
    return TestPictureStore::sameColor(picture.value<QPixmap>().toImage(), color);
}

const QString quartz = QStringLiteral("Quartz");
const QColor colors[] = {Qt::red, Qt::green, Qt::blue};

} // namespace

class TestNicePicDialogs : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_store.clear(); }

    void browsing()
    {
        NicePicWidget widget;
        widget.setMineral(quartz);
        auto *spin = childNamed<QSpinBox>(&widget, "current");
        QCOMPARE(widget.shownInfo(), NicePicInfo());

        for (int n = 0; n < 3; ++n)
            m_store.add(quartz, n, colors[n]);
        widget.show();
        QSignalSpy changed(&widget, &NicePicWidget::indexChanged);
        widget.setMineral(quartz);
        for (int i = 0; i < 3; ++i)
            childNamed<QPushButton>(&widget, "next")->click();
        QCOMPARE(spin->value(), 3);
        QCOMPARE(changed.size(), 3);
        QVERIFY(showsColor(widget, Qt::blue));
        QVERIFY(widget.shownHtml().contains(QStringLiteral("&copy; owner 2")));

        DialogShowNicePic dialog; // starts at the first picture
        dialog.widget()->setCurrentNumber(2);
        dialog.setMineral(quartz);
        QVERIFY(showsColor(*dialog.widget(), Qt::red));
    }

    // Deleting the last picture shows the one before.
    void deletingLast()
    {
        for (int n = 0; n < 3; ++n)
            m_store.add(quartz, n, colors[n]);
        NicePicWidget widget;
        widget.show();
        widget.setMineral(quartz);
        widget.setCurrentNumber(3);
        // Loaded into the document before the file name gets another picture.
        QVERIFY(showsColor(widget, colors[2]));
        childNamed<QPushButton>(&widget, "buttonDelete")->click();
        QCOMPARE(childNamed<QSpinBox>(&widget, "current")->value(), 2);
        QCOMPARE(widget.shownInfo().pic_copyright, QStringLiteral("owner 1"));
        QVERIFY(showsColor(widget, colors[1]));
    }

    void addingPictures()
    {
        QTemporaryDir sources;
        const QString photo = sources.filePath(QStringLiteral("photo.jpg"));
        QVERIFY(TestPictureStore::writeJpeg(photo, Qt::magenta));
        m_store.add(quartz, 0, Qt::red);
        NewMineralPicDialog dialog;
        dialog.setMineral(quartz);
        NicePicWidget *pictures = dialog.widget();
        auto *newPicture = childNamed<QPushButton>(&dialog, "ButtNewNicePic");
        auto *save = childNamed<QPushButton>(&dialog, "ButtAddNicePic");
        auto *copyright = childNamed<QLineEdit>(&dialog, "lEditCopyright");
        QVERIFY(!save->isEnabled());

        QStringList shown;
        clickAnswering(newPicture, QString(), &shown); // cancelled: nothing changes
        QCOMPARE(NicePicInfos().pictureCount(quartz), 1);

        clickAnswering(newPicture, photo, &shown);
        QCOMPARE(NicePicInfos().pictureCount(quartz), 2);
        QVERIFY(showsColor(*pictures, Qt::magenta));
        NicePicInfo entered = NicePicInfos().loadFromFolder(quartz, 1);
        QCOMPARE(entered.filename, QStringLiteral("Quartz_1"));
        QVERIFY(save->isEnabled());

        childNamed<QLineEdit>(&dialog, "lEditLocation")->setText(QStringLiteral("Gotthard"));
        clickAnswering(save, QString(), &shown); // no copyright: refused
        QCOMPARE(NicePicInfos().loadFromFolder(quartz, 1), entered);
        QCOMPARE(shown.size(), 3);

        copyright->setText(QStringLiteral("CC-BY Huber"));
        childNamed<QPlainTextEdit>(&dialog, "tEditComment")->setPlainText(QStringLiteral("a\nb"));
        save->click();
        entered = NicePicInfos().loadFromFolder(quartz, 1);
        QCOMPARE(entered.pic_copyright + entered.locality + entered.remark,
                 QStringLiteral("CC-BY HuberGotthard") + QStringLiteral("a\nb"));
    }

    void badInputStoresNothing()
    {
        QTemporaryDir sources;
        const QString notes = sources.filePath(QStringLiteral("notes.jpg"));
        QVERIFY(TestFiles::write(notes, "no picture"));
        const QString photo = sources.filePath(QStringLiteral("photo.jpg"));
        QVERIFY(TestPictureStore::writeJpeg(photo, Qt::magenta));
        NewMineralPicDialog dialog;
        dialog.setMineral(quartz);
        auto *newPicture = childNamed<QPushButton>(&dialog, "ButtNewNicePic");
        QStringList shown;
        clickAnswering(newPicture, notes, &shown);
        // A file where the folder of the descriptions must go.
        const QString records = m_store.path(QStringLiteral("NicePicJson"));
        QVERIFY(QDir(records).removeRecursively() && TestFiles::write(records, "x"));
        clickAnswering(newPicture, photo, &shown);
        QVERIFY(QFile::remove(records));
        QCOMPARE(
            shown.mid(1, 1) + shown.mid(3),
            (QStringList{QStringLiteral("Kein Bild"), QStringLiteral("Bild nicht gespeichert")}));
        QVERIFY(QDir(m_store.path(QStringLiteral("NicePicJpg")))
                    .entryList({QStringLiteral("Quartz*")}, QDir::Files)
                    .isEmpty());
    }

private:
    TestPictureStore m_store;
};

QTEST_MAIN(TestNicePicDialogs)
#include "tst_nicepicdialogs.moc"
