#include "savedata_view/ui/dialogshownicepic.h"
#include "savedata_view/ui/newmineralpicdialog.h"
#include "savedata_view/ui/nicepicwidget.h"

#include "measurementfolders.h"
#include "modaldialogs.h"
#include "nicepicstore.h"
#include "pictures/nicepicinfos.h"
#include "testfiles.h"

#include <QtTest>
#include <QtWidgets>

namespace {

// The picture as the view's document loaded it (a pixmap).
bool showsColor(const NicePicWidget &widget, const QColor &color)
{
    const QUrl url = QUrl::fromLocalFile(
        NicePicInfos().picturePath(widget.mineral(), widget.currentNumber() - 1));
    const QVariant picture = widget.findChild<QTextBrowser *>()->document()->resource(
        QTextDocument::ImageResource, url);
    return TestPictureStore::sameColor(picture.value<QPixmap>().toImage(), color);
}

const QString quartz = S("Quartz");
const QColor colors[] = {Qt::red, Qt::green, Qt::blue};

} // namespace

class TestNicePics : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(TestPictureStore::writeJpeg(file("photo.jpg"), Qt::magenta)); }
    void init() { m_store.clear(); }

    void pictureNumber()
    {
        QCOMPARE(NicePicInfos::pictureNumber(S("Quartz_12.jpg")), 12);
        QCOMPARE(NicePicInfos::pictureNumber(S("Azurite__3.json")), 3);
        QCOMPARE(NicePicInfos::pictureNumber(S("Quartz.jpg")), -1);
        QCOMPARE(NicePicInfos::pictureNumber(S("Quartz_1.jpg.bak")), -1);
    }

    void counting()
    {
        const NicePicInfos store;
        QCOMPARE(store.pictureCount(S("Quartz")), 0);
        for (int n : {0, 1, 2})
            m_store.add(S("Quartz"), n, Qt::red);
        m_store.add(S("Calcite"), 0, Qt::red);
        QCOMPARE(store.pictureCount(S("Quartz")), 3);

        // A gap counts up to the highest number, with a warning; records alone count nothing.
        QVERIFY(QFile::remove(file("NicePicJpg/Quartz_1.jpg")));
        QTest::ignoreMessage(QtWarningMsg, "numbering of pictures seems odd, counts: 2 2");
        QCOMPARE(store.pictureCount(S("Quartz")), 3);
        QVERIFY(QFile::remove(file("NicePicJpg/Quartz_0.jpg")));
        QVERIFY(QFile::remove(file("NicePicJpg/Quartz_2.jpg")));
        QCOMPARE(store.pictureCount(S("Quartz")), 0);
    }

    void records()
    {
        const NicePicInfo info{S("version 1.0"), S("Quartz"),
                               S("A"),           S("Sammlung Ost"),
                               S("B"),           S("CC-BY <i>Huber</i>"),
                               S("Gotthard"),    S("zwei\nZeilen"),
                               S("Quartz_4"),    4};
        QVERIFY(NicePicInfos::writeInfo(file("NicePicJson/Quartz_4.json"), info));
        QCOMPARE(NicePicInfos().loadFromFolder(S("Quartz"), 4), info);
        expectWarning("^no metadata.json");
        QCOMPARE(NicePicInfos().loadFromFolder(S("Quartz"), 0), NicePicInfo());
        // A file where the folder must go.
        QVERIFY(TestFiles::write(file("blocked"), "x"));
        expectWarning("^could not write");
        QVERIFY(!NicePicInfos::writeInfo(file("blocked/Quartz_0.json"), info));
    }

    // Removing the first picture moves the others, with their descriptions, down by one.
    void removalRenumbers()
    {
        const QColor colors[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
        for (int n = 0; n < 4; ++n)
            m_store.add(S("Quartz"), n, colors[n]);
        const NicePicInfos store;
        QVERIFY(store.removePicture(S("Quartz"), 0));
        QCOMPARE(store.pictureCount(S("Quartz")), 3);
        QVERIFY(!QFile::exists(file("NicePicJson/Quartz_3.json")));
        for (int n = 0; n < 3; ++n) {
            const QImage picture(store.picturePath(S("Quartz"), n));
            QVERIFY(TestPictureStore::sameColor(picture, colors[n + 1]));
            QCOMPARE(store.loadFromFolder(S("Quartz"), n).pic_copyright, S("owner %1").arg(n + 1));
        }
    }

    void browsing()
    {
        NicePicWidget widget;
        widget.setMineral(quartz);
        QCOMPARE(widget.shownInfo(), NicePicInfo());

        for (int n = 0; n < 3; ++n)
            m_store.add(quartz, n, colors[n]);
        widget.show();
        widget.setMineral(quartz);
        for (int i = 0; i < 3; ++i)
            childNamed<QPushButton>(&widget, "next")->click();
        QCOMPARE(widget.currentNumber(), 3);
        QVERIFY(showsColor(widget, Qt::blue));
        QVERIFY(widget.shownHtml().contains(S("&copy; owner 2")));

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
        QCOMPARE(widget.shownInfo().pic_copyright, S("owner 1"));
        QVERIFY(showsColor(widget, colors[1]));
    }

    void addingPictures()
    {
        const QString photo = file("photo.jpg");
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
        QCOMPARE(entered.filename, S("Quartz_1"));
        QVERIFY(save->isEnabled());

        childNamed<QLineEdit>(&dialog, "lEditLocation")->setText(S("Gotthard"));
        clickAnswering(save, QString(), &shown); // no copyright: refused
        QCOMPARE(NicePicInfos().loadFromFolder(quartz, 1), entered);
        QCOMPARE(shown.size(), 3);

        copyright->setText(S("CC-BY Huber"));
        childNamed<QPlainTextEdit>(&dialog, "tEditComment")->setPlainText(S("a\nb"));
        save->click();
        entered = NicePicInfos().loadFromFolder(quartz, 1);
        QCOMPARE(entered.pic_copyright + entered.locality + entered.remark,
                 S("CC-BY HuberGotthard") + S("a\nb"));
    }

    void badInputStoresNothing()
    {
        const QString notes = file("notes.jpg");
        QVERIFY(TestFiles::write(notes, "no picture"));
        NewMineralPicDialog dialog;
        dialog.setMineral(quartz);
        auto *newPicture = childNamed<QPushButton>(&dialog, "ButtNewNicePic");
        QStringList shown;
        clickAnswering(newPicture, notes, &shown);
        // A file where the folder of the descriptions must go.
        const QString records = file("NicePicJson");
        QVERIFY(QDir(records).removeRecursively() && TestFiles::write(records, "x"));
        clickAnswering(newPicture, file("photo.jpg"), &shown);
        QVERIFY(QFile::remove(records));
        QCOMPARE(shown.mid(1, 1) + shown.mid(3),
                 (QStringList{S("Kein Bild"), S("Bild nicht gespeichert")}));
        QVERIFY(QDir(file("NicePicJpg")).entryList({S("Quartz*")}, QDir::Files).isEmpty());
    }

private:
    QString file(const char *name) const { return m_store.path(QLatin1String(name)); }

    TestPictureStore m_store;
};

QTEST_MAIN(TestNicePics)
#include "tst_nicepics.moc"
