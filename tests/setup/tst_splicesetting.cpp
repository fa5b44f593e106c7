#include "joinsettingwindows.h"
#include "logofiles.h"
#include "picturedecoder.h"
#include "windowtest.h"

using namespace WindowTest;

namespace {

// The splice window with the file dialog replaced by the test's answers.
class PickingWindow : public JoinSettingWindows
{
public:
    QStringList answers;

protected:
    QString chooseImageFile() override { return answers.isEmpty() ? QString() : answers.takeFirst(); }
};

QString makePicture(const QString &name, Qt::GlobalColor colour)
{
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(colour);
    image.save(appDirPath + QLatin1Char('/') + name);
    return appDirPath + QLatin1Char('/') + name;
}

} // namespace

class TestSpliceSetting : public QObject
{
    Q_OBJECT

    QString logo;

private slots:
    void initTestCase()
    {
        qRegisterMetaType<QHash<QString, QString>>();
        logo = makePicture("logo.png", Qt::blue);
    }
    void init() { userImagePath = logo; }

    void sizeIsHandedOut_data() { goldenRows(QStringLiteral("splicesize.tsv")); }
    void sizeIsHandedOut()
    {
        JoinSettingWindows window;
        window.setRowColumn(4, 6);
        window.setRowColumn(0, 16); // out of range: ignored
        window.show();
        auto *rowBox = child<QComboBox>(&window, "join_row_cb"), *columnBox = child<QComboBox>(&window, "join_column_cb");
        for (const auto &typed : {std::make_pair("typedRows", rowBox), std::make_pair("typedColumns", columnBox)}) {
            if (golden(typed.first).isEmpty())
                continue;
            if (golden("by") == QLatin1String("text set")) {
                typed.second->setEditText(golden(typed.first));
                continue;
            }
            QTest::keyClick(typed.second->lineEdit(), Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(typed.second->lineEdit(), golden(typed.first));
            if (golden("by").endsWith(QLatin1String(" and Enter")))
                QTest::keyClick(typed.second->lineEdit(), Qt::Key_Return);
        }
        QSignalSpy sent(&window, &JoinSettingWindows::senddata);
        child<QPushButton>(&window, "confirm_btn")->click();
        QCOMPARE(sent.count(), 1);
        const auto data = sent.at(0).at(0).value<QHash<QString, QString>>();
        QTEST(data.value("joinrow") + "x" + data.value("joincolumn"), "size");
        QVERIFY(!window.isVisible());
        // A refused entry gives way in the box too: it shows the size taken.
        QTEST(rowBox->currentText() + "x" + columnBox->currentText(), "size");
        QCOMPARE(rowBox->count() + columnBox->count(), 30); // nothing typed became an item
    }

    void nameAndLogoAreSetBeforeTheSignal_data() { goldenRows(QStringLiteral("logoimport.tsv")); }
    void nameAndLogoAreSetBeforeTheSignal()
    {
        const bool imported = golden("imported") == QLatin1String("yes");
        const QString picture = makePicture("picked.png", Qt::red);
        PickingWindow window;
        window.setUserName("Hall A");
        window.show();
        // The name waits for the operator's typing: selected, with the focus.
        auto *name = child<QLineEdit>(&window, "username_lb");
        QCOMPARE(window.focusWidget(), name);
        QCOMPARE(name->selectedText(), QStringLiteral("Hall A"));
        const auto preview = [&] { return child<QLabel>(&window, "show_image")->pixmap(Qt::ReturnByValue).toImage(); };
        const auto previewColour = [&] { return preview().isNull() ? QColor() : QColor(preview().pixel(0, 0)); };
        for (const QString &pick : goldenList(golden("picks"))) {
            // "repainted": the picture picked before, once shown, is painted over and picked again.
            if (pick == QLatin1String("repainted")) {
                QTRY_COMPARE(previewColour(), QColor(Qt::red));
                makePicture("picked.png", Qt::green);
            }
            window.answers = QStringList{pick.isEmpty() ? QString() : picture};
            child<QPushButton>(&window, "pic_import_btn")->click();
        }
        if (golden("reopen") == QLatin1String("yes")) {
            child<QPushButton>(&window, "close_btn")->click();
            window.show();
        }
        QString seen;
        connect(&window, &JoinSettingWindows::senddata, this, [&] { seen = userName + "|" + userImagePath; });
        child<QPushButton>(&window, "confirm_btn")->click();
        QCOMPARE(seen, "Hall A|" + (imported ? picture : logo));
        // The preview shows what the next OK commits, as the file is now.
        const bool repainted = golden("picks").endsWith(QLatin1String("repainted"));
        QTRY_COMPARE(previewColour(), QColor(imported ? (repainted ? Qt::green : Qt::red) : Qt::blue));
    }

    // Twenty pictures picked one after another while each decode is still
    // under way (the test holds every decoder): each pick gives up the decode
    // of the one before, which no label waits for any more, without waiting
    // for it; it goes before the next pick, and the last pick is shown.
    // Picks whose decoders have not answered: at most two decoders live at
    // any moment, the one given up until it has ended included, whether the
    // operator waits for that end or picks on at once; the last pick shows.
    void quickPicksLeaveOneDecoder_data()
    {
        QTest::addColumn<bool>("waitEach");
        QTest::newRow("each given-up decoder ended before the next pick") << true;
        QTest::newRow("twenty picks in a row") << false;
    }
    void quickPicksLeaveOneDecoder()
    {
        QFETCH(bool, waitEach);
        QStringList pictures;
        for (int i = 0; i < 20; ++i) {
            QImage image(40, 20, QImage::Format_RGB32);
            image.fill(QColor::fromHsv(i * 18, 255, 255));
            pictures += appDirPath + QStringLiteral("/pick%1.png").arg(i);
            QVERIFY(image.save(pictures.last()));
        }
        QVERIFY(LogoFiles::holdDecoders());
        PickingWindow window;
        window.show();
        int most = PictureDecoder::decodersAlive();
        for (const QString &picture : qAsConst(pictures)) {
            window.answers = QStringList{picture};
            child<QPushButton>(&window, "pic_import_btn")->click();
            most = qMax(most, PictureDecoder::decodersAlive());
            if (waitEach)
                QTRY_COMPARE_WITH_TIMEOUT(PictureDecoder::decodersAlive(), 1, 20000);
            else
                QCoreApplication::processEvents(); // a decoder given up may end meanwhile
            most = qMax(most, PictureDecoder::decodersAlive());
        }
        QVERIFY(LogoFiles::letDecodersGo());
        PictureDecoder::setProgram(QString());
        const auto preview = [&] { return child<QLabel>(&window, "show_image")->pixmap(Qt::ReturnByValue).toImage(); };
        QTRY_COMPARE_WITH_TIMEOUT(preview().isNull() ? QString() : QColor(preview().pixel(0, 0)).name(),
                                  QColor::fromHsv(19 * 18, 255, 255).name(), 60000);
        QTRY_COMPARE_WITH_TIMEOUT(PictureDecoder::decodersAlive(), 0, 20000);
        QCOMPARE(most, 2);
    }

    void languageSwitchKeepsTheChoice()
    {
        JoinSettingWindows window;
        window.setRowColumn(9, 11);
        window.setUserName("Control room");
        QSignalSpy sent(&window, &JoinSettingWindows::senddata);
        QVERIFY(inChinese([&] { child<QPushButton>(&window, "confirm_btn")->click(); }));
        const auto data = sent.at(0).at(0).value<QHash<QString, QString>>();
        QCOMPARE(data.value("joinrow") + "x" + data.value("joincolumn"), QStringLiteral("9x11"));
        QCOMPARE(userName, QStringLiteral("Control room"));
    }
};

VW_TEST_MAIN(TestSpliceSetting)
#include "tst_splicesetting.moc"
