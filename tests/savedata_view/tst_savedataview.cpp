#include "measurementfolders.h"
#include "modaldialogs.h"
#include "nicepicstore.h"
#include "pictures/nicepicinfos.h"
#include "pictures/ui/dialogshownicepic.h"
#include "pictures/ui/newmineralpicdialog.h"
#include "pictures/ui/nicepicwidget.h"
#include "savedata_view/savedatamodel.h"
#include "savedata_view/ui/dateselectdialog.h"
#include "savedata_view/ui/sampledatadialog.h"
#include "savedatafixture.h"
#include "storage/backup.h"
#include "testfiles.h"
#include "widgets/ratinglabel.h"

#include <QtTest>
#include <QtWidgets>
#include <memory>

namespace {

QImage icon(const char *name)
{
    return QPixmap(S(":/icons/%1.png").arg(QLatin1String(name)))
        .scaledToWidth(16, Qt::SmoothTransformation)
        .toImage();
}

struct TestedModel
{
    explicit TestedModel(const SaveData &data)
    {
        model.saveData() = data;
        tester = std::make_unique<QAbstractItemModelTester>(
            &model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    }
    QModelIndex item(int point, int row, int column = 0) const
    {
        return model.index(row, column, model.index(point, 0));
    }

    SaveDataModel model;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

QStringList fields(const char *text)
{
    return QString::fromUtf8(text).split(QLatin1Char('|'));
}

// What an HTML preview reads as: one table cell per line.
QStringList shownCells(const QVariant &html)
{
    QTextDocument document;
    document.setHtml(html.toString());
    return document.toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
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

const QString quartz = S("Quartz");
const QColor colors[] = {Qt::red, Qt::green, Qt::blue};

} // namespace

class TestSaveDataView : public QObject
{
    Q_OBJECT

    static void pressLater(QDialog *dialog, QDialogButtonBox::StandardButton button)
    {
        answerNextModal<QDialog>([dialog, button](QDialog *) {
            childNamed<QDialogButtonBox>(dialog, "buttonBox")->button(button)->click();
        });
    }

private slots:
    void items_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QVariant>("size");
        QTest::newRow("photo") << 0 << QVariant(S("64x48"));
        QTest::newRow("raw") << 2 << QVariant(300);
        QTest::newRow("result") << 6 << QVariant();
    }

    // The first point is filled, the second is empty; the HTML rows are never empty.
    void items()
    {
        QFETCH(int, row);
        QFETCH(QVariant, size);
        SaveData data = Fixture::measurement(1);
        data.addSector();
        TestedModel t(data);
        QCOMPARE(t.item(0, row, 1).data(), size);
        QCOMPARE(t.item(0, row).data(Qt::DecorationRole).value<QPixmap>().toImage(),
                 icon("task-complete"));
        QVERIFY(t.item(0, row, 1).data(SaveDataModel::PreviewRole).isValid());

        const bool html = !size.isValid();
        QCOMPARE(t.item(1, row).data(Qt::DecorationRole).value<QPixmap>().toImage(),
                 icon(html ? "task-complete" : "task-attention"));
    }

    void previews()
    {
        TestedModel full(Fixture::measurement(1));
        QCOMPARE(shownCells(full.item(0, 8).data(SaveDataModel::PreviewRole)),
                 fields("Belichtungszeit|3 s|Neutralfilter|ND 0.1|Objektiv|20x #1|Gain|3 e-/count|"
                        "Temperatur Kamera|-60.25 °C"));
        QCOMPARE(shownCells(full.item(0, 6).data(SaveDataModel::PreviewRole)),
                 fields("Automatisch identifiziert|Quartz|Match-Qualität|8.25|Sicherheit|"
                        "unsicher|Gruppe|Garnet: Almandine / Pyrope (sicher)|Manuell "
                        "ausgewählt|Calcite"));

        // Raw x and y of different lengths count as broken.
        SaveDataSector sector = Fixture::sector(1);
        sector.rawSpectrum.y.removeLast();
        sector.processedSpectrum = {{1234.5678, 0.5, -3}, {12345.6, 1e-5, 100}};
        SaveData data;
        data.addSector();
        data.replaceActiveSector(sector);
        TestedModel t(data);
        QCOMPARE(t.item(0, 2, 1).data(), QVariant(-1));
        QCOMPARE(t.item(0, 2).data(SaveDataModel::PreviewRole).toString(), QString());
        QCOMPARE(t.item(0, 2).data(Qt::DecorationRole).value<QPixmap>().toImage(),
                 icon("task-attention"));
        QCOMPARE(t.item(0, 3).data(SaveDataModel::PreviewRole).toString(),
                 S("1235\t1.235e+04\n0.5\t1e-05\n-3\t100\n"));
    }

    void metadataTable()
    {
        TestedModel t(Fixture::measurement(1));
        SaveDataMetadata m = t.model.saveData().metadata();
        const QString date = QLocale::system().toString(QDate(1987, 6, 1), QLocale::ShortFormat);
        for (const bool old : {false, true}) { // old: no date, made by version 8 or older
            m.nodate = old;
            m.created_as_version = old ? 0 : 9;
            t.model.setMetadata(m);
            const QString shown
                = shownCells(t.model.data(QModelIndex(), SaveDataModel::MetadataHtmlRole))
                      .join(u'|');
            QCOMPARE(shown.contains(S("Funddatum|") + date), !old);
            QVERIFY(shown.contains(old ? S("Daten-Version|11 (erstellt: 8 oder früher)")
                                       : S("Daten-Version|11 (erstellt: 9)")));
        }
    }

    void removingPoints()
    {
        TestedModel t(Fixture::measurement(4));
        t.model.setActiveSector(3);
        t.model.removeSector(3);
        t.model.removeSector(3);
        t.model.removeSector(-1);
        QCOMPARE(t.model.rowCount(), 3);

        // The labels carry the position, which the tester cannot allow for.
        t.tester.reset();
        t.model.removeSector(0);
        QCOMPARE(t.model.index(0, 0).data().toString(), S("Messpunkt Nr. 1 (Quarz 2)"));

        t.model.removeSector(1);
        t.model.removeSector(0);
        t.tester = std::make_unique<QAbstractItemModelTester>(
            &t.model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        t.model.addSectorIfEmpty();
        t.model.addSectorIfEmpty();
        QCOMPARE(t.model.rowCount(), 1);
        // Only empty points left: no metadata shown.
        QVERIFY(!t.model.data(QModelIndex(), SaveDataModel::MetadataHtmlRole).isValid());
    }

    // Saving writes only what changed, never a backup copy, and never over another program's
    // version unless told to.
    void saveOutcomes_data()
    {
        QTest::addColumn<bool>("edit");
        QTest::addColumn<bool>("inBackupArea");
        QTest::addColumn<bool>("changedOnDisk");
        QTest::addColumn<int>("outcome");
        using O = SaveDataModel::SaveOutcome;
        QTest::newRow("nothing changed") << false << false << false << int(O::NothingChanged);
        QTest::newRow("changed") << true << false << false << int(O::Saved);
        QTest::newRow("backup copy") << true << true << false << int(O::ReadOnly);
        QTest::newRow("changed on disk") << true << false << true << int(O::ChangedOnDisk);
    }

    void saveOutcomes()
    {
        QFETCH(bool, edit);
        QFETCH(bool, inBackupArea);
        QFETCH(bool, changedOnDisk);
        QFETCH(int, outcome);
        QTemporaryDir dir;
        const QString parent = inBackupArea ? backupRoot() + S("overwritten/x") : dir.path();
        SaveData saved = Fixture::measurement(1);
        QVERIFY(saved.save(parent, S("m"), {}));
        const QString folder = parent + S("/m");
        SaveData loaded;
        QVERIFY(loaded.load(folder, AllSaveDataParts));
        SaveDataModel model;
        model.setSaveData(loaded);
        QCOMPARE(model.isReadOnly(), inBackupArea);
        if (edit)
            model.setMetadata(Fixture::ownedBy(model.saveData().metadata(), S("Neu")));
        if (changedOnDisk)
            QVERIFY(TestFiles::write(folder + S("/Location1/data.csv"), "1 2\n3 4\n"));
        const auto before = Fixture::snapshot(folder);
        QSignalSpy announced(&model, &SaveDataModel::metadataChanged);

        QCOMPARE(int(model.save({})), outcome);
        const bool written = outcome == int(SaveDataModel::SaveOutcome::Saved);
        QCOMPARE(Fixture::snapshot(folder) != before, written);
        QCOMPARE(announced.size(), int(written)); // the saved date is shown anew
        QCOMPARE(model.saveData().isModified(), edit && !written);
        if (changedOnDisk) {
            QCOMPARE(model.save({}, false, true), SaveDataModel::SaveOutcome::Saved);
            QCOMPARE(model.save({}, true), SaveDataModel::SaveOutcome::Saved); // own save
        }
        QDir(backupRoot()).removeRecursively();
    }

    void starsFollowTheRating()
    {
        RatingLabel label;
        label.setRating(3);
        label.resize(label.sizeHint());
        label.show();
        QVERIFY(QTest::qWaitForWindowExposed(&label));
        QSignalSpy changed(&label, &RatingLabel::ratingChanged);
        const auto clickStar = [&label](int i) {
            const QRect area = label.contentsRect();
            QTest::mouseClick(
                &label, Qt::LeftButton, {},
                QPoint(area.left() + area.width() * (2 * i - 1) / 10, area.center().y()));
        };
        clickStar(3);
        label.setRating(3);
        QCOMPARE(changed.count(), 0);
        clickStar(5);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toInt(), 5);
    }

    // Only the year is kept when only the year is shown.
    void roundTrip()
    {
        for (const bool yearOnly : {false, true}) {
            SaveDataMetadata m;
            m.owner = S("Huber");
            m.found_date = QDate(1987, 6, 15);
            m.found_date_year_only = yearOnly;
            SampleDataDialog dialog;
            dialog.setData(m);
            SaveDataMetadata expected = m;
            expected.found_date = yearOnly ? QDate(1987, 1, 1) : m.found_date;
            QCOMPARE(dialog.data(m), expected);
        }
    }

    void remarkStopsAt300Characters()
    {
        SampleDataDialog dialog;
        dialog.show();
        auto *remark = childNamed<QPlainTextEdit>(&dialog, "tEditRemark");
        remark->setPlainText(QString(299, QLatin1Char('a')));
        remark->moveCursor(QTextCursor::End);
        QTest::keyClicks(remark, S("bc"));
        QCOMPARE(remark->toPlainText(), QString(299, QLatin1Char('a')) + QLatin1Char('b'));
    }

    void onlyAcceptingStoresDefaults()
    {
        SampleDataDialog cancelled;
        pressLater(&cancelled, QDialogButtonBox::Cancel);
        QCOMPARE(cancelled.exec(), int(QDialog::Rejected));
        QCOMPARE(QSettings().allKeys(), QStringList{S("Paths/NicePicPath")}); // set by the store

        SampleDataDialog accepted;
        childNamed<QLineEdit>(&accepted, "EditOwner")->setText(S("Huber"));
        childNamed<QRadioButton>(&accepted, "rButtYear")->click();
        pressLater(&accepted, QDialogButtonBox::Ok);
        QCOMPARE(accepted.exec(), int(QDialog::Accepted));

        SampleDataDialog next;
        QCOMPARE(childNamed<QLineEdit>(&next, "EditOwner")->text(), S("Huber"));
        QVERIFY(childNamed<QRadioButton>(&next, "rButtYear")->isChecked());
    }

    // The calendar gives the shown month with the selected day, which may not exist there.
    void calendarDate()
    {
        SampleDataDialog dialog;
        auto *calendarDialog = dialog.findChild<DateSelectDialog *>();
        auto *calendar = childNamed<QCalendarWidget>(calendarDialog, "calendarWidget");
        calendar->setSelectedDate(QDate(2020, 1, 31));
        calendar->setCurrentPage(2020, 2);
        QCOMPARE(calendarDialog->date(), QDate());
        calendar->setCurrentPage(1999, 12);
        QCOMPARE(calendarDialog->date(), QDate(1999, 12, 31));

        pressLater(calendarDialog, QDialogButtonBox::Ok);
        childNamed<QToolButton>(&dialog, "tButtDateChooser")->click();
        QCOMPARE(childNamed<QDateEdit>(&dialog, "dEditFoundDate")->date(), QDate(1999, 12, 31));
    }

    void initTestCase() { QVERIFY(TestPictureStore::writeJpeg(file("photo.jpg"), Qt::magenta)); }
    void init()
    {
        QSettings().clear();
        m_store.configure();
        m_store.clear();
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
        // No picture yet: said so, nothing to delete, no broken picture or empty copyright.
        QVERIFY(widget.shownHtml().contains(S("kein Bild")));
        QVERIFY(!widget.shownHtml().contains(S("&copy;")));
        QVERIFY(!childNamed<QPushButton>(&widget, "buttonDelete")->isEnabled());

        for (int n = 0; n < 3; ++n)
            m_store.add(quartz, n, colors[n]);
        widget.show();
        widget.setMineral(quartz);
        for (int i = 0; i < 3; ++i)
            childNamed<QPushButton>(&widget, "next")->click();
        QCOMPARE(widget.currentNumber(), 3);
        QVERIFY(showsColor(widget, Qt::blue));
        QVERIFY(widget.shownHtml().contains(S("&copy; owner 2")));
        // Deleting the last picture shows the one before; the document had the deleted one.
        childNamed<QPushButton>(&widget, "buttonDelete")->click();
        QCOMPARE(childNamed<QSpinBox>(&widget, "current")->value(), 2);
        QCOMPARE(widget.shownInfo().pic_copyright, S("owner 1"));
        QVERIFY(showsColor(widget, colors[1]));

        DialogShowNicePic dialog; // starts at the first picture
        dialog.widget()->setCurrentNumber(2);
        dialog.setMineral(quartz);
        QVERIFY(showsColor(*dialog.widget(), Qt::red));
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
        shown << clickAnswering(newPicture, QString()); // cancelled: nothing changes
        QCOMPARE(NicePicInfos().pictureCount(quartz), 1);

        shown << clickAnswering(newPicture, photo);
        QCOMPARE(NicePicInfos().pictureCount(quartz), 2);
        QVERIFY(showsColor(*pictures, Qt::magenta));
        NicePicInfo entered = NicePicInfos().loadFromFolder(quartz, 1);
        QCOMPARE(entered.filename, S("Quartz_1"));
        QVERIFY(save->isEnabled());

        childNamed<QLineEdit>(&dialog, "lEditLocation")->setText(S("Gotthard"));
        shown << clickAnswering(save, QString()); // no copyright: refused
        QCOMPARE(NicePicInfos().loadFromFolder(quartz, 1), entered);
        QCOMPARE(shown.size(), 1);

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
        shown << clickAnswering(newPicture, notes);
        // A file where the folder of the descriptions must go.
        const QString records = file("NicePicJson");
        QVERIFY(QDir(records).removeRecursively() && TestFiles::write(records, "x"));
        shown << clickAnswering(newPicture, file("photo.jpg"));
        QVERIFY(QFile::remove(records));
        QCOMPARE(shown, (QStringList{S("Kein Bild"), S("Bild nicht gespeichert")}));
        QVERIFY(QDir(file("NicePicJpg")).entryList({S("Quartz*")}, QDir::Files).isEmpty());
    }

private:
    QString file(const char *name) const { return m_store.path(QLatin1String(name)); }

    TestPictureStore m_store;
};

QTEST_MAIN(TestSaveDataView)
#include "tst_savedataview.moc"
