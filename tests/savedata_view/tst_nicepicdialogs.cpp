#include "savedata_view/dialogshownicepic.h"
#include "savedata_view/newmineralpicdialog.h"
#include "savedata_view/nicepicwidget.h"

#include "measurementfolders.h"
#include "nicepicstore.h"

#include <QtTest>
#include <QtWidgets>

namespace {

// Answers the next file chooser with `file` (empty: cancels it) and the next message box with
// OK, while `context` lives; records their titles in `shown`.
void answerDialogs(QObject *context, const QString &file, QStringList *shown)
{
    auto *timer = new QTimer(context);
    QObject::connect(timer, &QTimer::timeout, context, [file, shown] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *chooser = qobject_cast<QFileDialog *>(modal)) {
            *shown << chooser->windowTitle();
            chooser->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(file);
            file.isEmpty() ? chooser->reject() : static_cast<QDialog *>(chooser)->accept();
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            *shown << box->windowTitle() + QLatin1Char('|') + box->text();
            box->button(QMessageBox::Ok)->click();
        }
    });
    timer->start(10);
}

// The picture the browser shows, as its document loaded it.
QImage shownPicture(QTextBrowser *browser, const NicePicWidget &widget)
{
    const QUrl url = QUrl::fromLocalFile(
        NicePicInfos().picturePath(widget.mineral(), widget.currentNumber() - 1));
    // The document keeps what it loaded as a pixmap.
    return browser->document()
        ->resource(QTextDocument::ImageResource, url)
        .value<QPixmap>()
        .toImage();
}

} // namespace

class TestNicePicDialogs : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_store.clear();
        QSettings().remove(QStringLiteral("lastNicePicSourcePath"));
    }

    void widgetWithoutPictures()
    {
        NicePicWidget widget;
        widget.setMineral(QStringLiteral("Quartz"));
        auto *spin = childNamed<QSpinBox>(&widget, "current");
        QCOMPARE(spin->minimum(), 1);
        QCOMPARE(spin->maximum(), 1);
        QCOMPARE(spin->value(), 1);
        QCOMPARE(spin->suffix(), QStringLiteral(" / 0"));
        QCOMPARE(widget.shownInfo(), NicePicInfo());
    }

    void browsing()
    {
        const QColor colors[] = {Qt::red, Qt::green, Qt::blue};
        for (int n = 0; n < 3; ++n)
            m_store.add(QStringLiteral("Quartz"), n, colors[n]);
        NicePicWidget widget;
        widget.resize(500, 400);
        widget.show();
        QSignalSpy changed(&widget, &NicePicWidget::indexChanged);
        widget.setMineral(QStringLiteral("Quartz"));
        auto *spin = childNamed<QSpinBox>(&widget, "current");
        auto *browser = childNamed<QTextBrowser>(&widget, "textBrowser");
        QCOMPARE(spin->suffix(), QStringLiteral(" / 3"));
        QCOMPARE(spin->maximum(), 3);
        QCOMPARE(changed.takeFirst().at(0).toInt(), 0);

        childNamed<QPushButton>(&widget, "next")->click();
        childNamed<QPushButton>(&widget, "next")->click();
        childNamed<QPushButton>(&widget, "next")->click();
        QCOMPARE(spin->value(), 3);
        QCOMPARE(changed.size(), 2);
        QCOMPARE(widget.shownInfo().pic_copyright, QStringLiteral("owner 2"));
        QVERIFY(TestPictureStore::sameColor(shownPicture(browser, widget), Qt::blue));
        const QString html = widget.shownHtml();
        QVERIFY(html.contains(QStringLiteral("&copy; owner 2")));
        QVERIFY(html.contains(QStringLiteral("alt=\"Quartz_2\"")));
        QVERIFY(html.contains(QStringLiteral("width=\"%1\"").arg(int(browser->width() * 0.9))));

        // The picture follows the width of the view.
        widget.resize(700, 400);
        QVERIFY(widget.shownHtml().contains(
            QStringLiteral("width=\"%1\"").arg(int(browser->width() * 0.9))));

        childNamed<QPushButton>(&widget, "previous")->click();
        QCOMPARE(widget.shownInfo().pic_copyright, QStringLiteral("owner 1"));
        QVERIFY(TestPictureStore::sameColor(shownPicture(browser, widget), Qt::green));
    }

    void deleting_data()
    {
        QTest::addColumn<int>("number"); // 1-based, as the spin box shows it
        QTest::addColumn<int>("shownAfter");
        QTest::addColumn<QString>("copyrightAfter");
        QTest::newRow("first") << 1 << 1 << "owner 1";
        QTest::newRow("middle") << 2 << 2 << "owner 2";
        QTest::newRow("last") << 3 << 2 << "owner 1";
    }

    void deleting()
    {
        QFETCH(int, number);
        QFETCH(int, shownAfter);
        QFETCH(QString, copyrightAfter);
        const QColor colors[] = {Qt::red, Qt::green, Qt::blue};
        for (int n = 0; n < 3; ++n)
            m_store.add(QStringLiteral("Quartz"), n, colors[n]);
        NicePicWidget widget;
        widget.show();
        widget.setMineral(QStringLiteral("Quartz"));
        auto *browser = childNamed<QTextBrowser>(&widget, "textBrowser");
        widget.setCurrentNumber(number);
        // Loads the picture into the document before it is replaced on disk.
        QVERIFY(TestPictureStore::sameColor(shownPicture(browser, widget), colors[number - 1]));

        childNamed<QPushButton>(&widget, "buttonDelete")->click();
        auto *spin = childNamed<QSpinBox>(&widget, "current");
        QCOMPARE(NicePicInfos().pictureCount(QStringLiteral("Quartz")), 2);
        QCOMPARE(spin->maximum(), 2);
        QCOMPARE(spin->suffix(), QStringLiteral("/2"));
        QCOMPARE(spin->value(), shownAfter);
        QCOMPARE(widget.shownInfo().pic_copyright, copyrightAfter);
        const int original = copyrightAfter.rightRef(1).toInt();
        QVERIFY(TestPictureStore::sameColor(shownPicture(browser, widget), colors[original]));
    }

    void showDialog()
    {
        m_store.add(QStringLiteral("Quartz"), 0, Qt::red);
        m_store.add(QStringLiteral("Quartz"), 1, Qt::green);
        DialogShowNicePic dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Mineral Erkennungsbild"));
        QVERIFY(!dialog.parent());
        dialog.widget()->setCurrentNumber(2);
        dialog.setMineral(QStringLiteral("Quartz"));
        QCOMPARE(dialog.widget()->currentNumber(), 1);
        QCOMPARE(dialog.widget()->shownInfo().pic_copyright, QStringLiteral("owner 0"));
    }

    void addingPictures()
    {
        QTemporaryDir sources;
        const QString photo = sources.filePath(QStringLiteral("photo.jpg"));
        QVERIFY(TestPictureStore::writeJpeg(photo, Qt::magenta));
        m_store.add(QStringLiteral("Quartz"), 0, Qt::red);

        NewMineralPicDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Bild des Minerals in Datenbank aufnehmen"));
        dialog.setMineral(QStringLiteral("Quartz"));
        NicePicWidget *pictures = dialog.widget();
        auto *save = childNamed<QPushButton>(&dialog, "ButtAddNicePic");
        auto *remove = childNamed<QPushButton>(pictures, "buttonDelete");
        auto *copyright = childNamed<QLineEdit>(&dialog, "lEditCopyright");
        QCOMPARE(pictures->currentNumber(), 1);
        QCOMPARE(copyright->text(), QStringLiteral("owner 0"));
        QCOMPARE(childNamed<QLineEdit>(&dialog, "lEditMineralName")->text(),
                 QStringLiteral("Quartz"));
        QVERIFY(!save->isEnabled());

        // A cancelled choice changes nothing.
        QStringList shown;
        auto *answers = new QObject(this);
        answerDialogs(answers, QString(), &shown);
        childNamed<QPushButton>(&dialog, "ButtNewNicePic")->click();
        delete answers;
        QCOMPARE(shown, QStringList{
                            QStringLiteral("Mineralbild zur Aufnahme in die Datenbank auswählen")});
        QCOMPARE(NicePicInfos().pictureCount(QStringLiteral("Quartz")), 1);
        QCOMPARE(copyright->text(), QStringLiteral("owner 0"));

        QSignalSpy written(&dialog, &NewMineralPicDialog::infoNicePicChanged);
        answers = new QObject(this);
        answerDialogs(answers, photo, &shown);
        childNamed<QPushButton>(&dialog, "ButtNewNicePic")->click();
        delete answers;
        QCOMPARE(QSettings().value(QStringLiteral("lastNicePicSourcePath")).toString(), photo);
        QCOMPARE(NicePicInfos().pictureCount(QStringLiteral("Quartz")), 2);
        QCOMPARE(written.size(), 1);
        QCOMPARE(written.at(0).at(0).toInt(), 1);
        QVERIFY(TestPictureStore::sameColor(
            QImage(NicePicInfos().picturePath(QStringLiteral("Quartz"), 1)), Qt::magenta));
        QVERIFY(QFile::exists(NicePicInfos().workingCopyPath()));
        NicePicInfo entered = NicePicInfos().loadFromFolder(QStringLiteral("Quartz"), 1);
        QCOMPARE(entered.mineral_pic_number, 1);
        QCOMPARE(entered.filename, QStringLiteral("Quartz_1"));
        QCOMPARE(entered.pic_copyright, QString());
        QCOMPARE(pictures->currentNumber(), 2);
        QCOMPARE(childNamed<QSpinBox>(pictures, "current")->suffix(), QStringLiteral("/2"));
        QVERIFY(save->isEnabled());
        QVERIFY(!remove->isEnabled());

        // No copyright, no entry.
        childNamed<QLineEdit>(&dialog, "lEditLocation")->setText(QStringLiteral("Gotthard"));
        shown.clear();
        answers = new QObject(this);
        answerDialogs(answers, QString(), &shown);
        save->click();
        delete answers;
        QCOMPARE(shown, QStringList{QStringLiteral(
                            "kein copyright eingegeben|bitte sicherstellen, dass keine Rechte "
                            "verletzt werden")});
        QCOMPARE(NicePicInfos().loadFromFolder(QStringLiteral("Quartz"), 1), entered);

        copyright->setText(QStringLiteral("CC-BY Huber"));
        childNamed<QPlainTextEdit>(&dialog, "tEditComment")
            ->setPlainText(QStringLiteral("Spitze\nklar"));
        QCOMPARE(pictures->shownInfo().locality, QStringLiteral("Gotthard"));
        save->click();
        entered = NicePicInfos().loadFromFolder(QStringLiteral("Quartz"), 1);
        QCOMPARE(entered.pic_copyright, QStringLiteral("CC-BY Huber"));
        QCOMPARE(entered.locality, QStringLiteral("Gotthard"));
        QCOMPARE(entered.remark, QStringLiteral("Spitze\nklar"));
        QCOMPARE(entered.mineral_pic_number, 1);
        QCOMPARE(written.size(), 2);
        QVERIFY(remove->isEnabled());
        QVERIFY(pictures->shownHtml().contains(QStringLiteral("Spitze<br>klar")));

        // Editing an earlier picture keeps its file and replaces its description.
        pictures->setCurrentNumber(1);
        QCOMPARE(copyright->text(), QStringLiteral("owner 0"));
        copyright->setText(QStringLiteral("owner 0, 2024"));
        save->click();
        QCOMPARE(NicePicInfos().loadFromFolder(QStringLiteral("Quartz"), 0).pic_copyright,
                 QStringLiteral("owner 0, 2024"));
        QVERIFY(TestPictureStore::sameColor(
            QImage(NicePicInfos().picturePath(QStringLiteral("Quartz"), 0)), Qt::red));
        QCOMPARE(NicePicInfos().pictureCount(QStringLiteral("Quartz")), 2);

        childNamed<QDialogButtonBox>(&dialog, "buttonBox")
            ->button(QDialogButtonBox::Close)
            ->click();
        QVERIFY(!save->isEnabled());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    void returnKeyDoesNotClose()
    {
        NewMineralPicDialog dialog;
        dialog.setMineral(QStringLiteral("Quartz"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto *location = childNamed<QLineEdit>(&dialog, "lEditLocation");
        location->setFocus();
        QTest::keyClick(location, Qt::Key_Return);
        QTest::keyClick(location, Qt::Key_Enter);
        QVERIFY(dialog.isVisible());
        QCOMPARE(NicePicInfos().pictureCount(QStringLiteral("Quartz")), 0);
    }

private:
    TestPictureStore m_store;
};

QTEST_MAIN(TestNicePicDialogs)
#include "tst_nicepicdialogs.moc"
