#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

#include "globalobject.h"
#include "joinsettingwindows.h"
#include "setuptest.h"
#include "testmain.h"

using namespace SetupTest;

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
    const QString path = appDirPath + QLatin1Char('/') + name;
    image.save(path);
    return path;
}

} // namespace

class TestSpliceSetting : public QObject
{
    Q_OBJECT

private:
    QString logoInEffect;

private slots:
    void initTestCase()
    {
        qRegisterMetaType<QHash<QString, QString>>();
        logoInEffect = makePicture("logo.png", Qt::blue);
    }

    void init()
    {
        userImagePath = logoInEffect;
        userName = QStringLiteral("Large-screen software");
    }

    void sizeIsHandedOut_data()
    {
        QTest::addColumn<QString>("typedRows");
        QTest::addColumn<QString>("typedColumns");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("columns");
        QTest::newRow("unchanged 4 by 6") << "" << "" << "4" << "6";
        QTest::newRow("typed 12 rows, 1 column") << "12" << "1" << "12" << "1";
        QTest::newRow("16 rows keep the previous 4") << "16" << "15" << "4" << "15";
        QTest::newRow("0 columns keep the previous 6") << "2" << "0" << "2" << "6";
        QTest::newRow("no number keeps both") << "abc" << " " << "4" << "6";
    }

    void sizeIsHandedOut()
    {
        QFETCH(QString, typedRows);
        QFETCH(QString, typedColumns);
        QFETCH(QString, rows);
        QFETCH(QString, columns);
        JoinSettingWindows window;
        window.setRowColumn(4, 6);
        window.show();
        if (!typedRows.isEmpty())
            child<QComboBox>(&window, "join_row_cb")->setEditText(typedRows);
        if (!typedColumns.isEmpty())
            child<QComboBox>(&window, "join_column_cb")->setEditText(typedColumns);
        QSignalSpy sent(&window, &JoinSettingWindows::senddata);

        child<QPushButton>(&window, "confirm_btn")->click();

        QCOMPARE(sent.count(), 1);
        const auto data = sent.at(0).at(0).value<QHash<QString, QString>>();
        QCOMPARE(data.size(), 2);
        QCOMPARE(data.value("joinrow"), rows);
        QCOMPARE(data.value("joincolumn"), columns);
        QVERIFY(!window.isVisible());
        QCOMPARE(child<QComboBox>(&window, "join_row_cb")->currentText(), rows);
        QCOMPARE(userImagePath, logoInEffect);
    }

    void sizeOutsideOneToFifteenIsNotTaken()
    {
        JoinSettingWindows window;
        window.setRowColumn(5, 7);
        window.setRowColumn(0, 16);
        QSignalSpy sent(&window, &JoinSettingWindows::senddata);
        child<QPushButton>(&window, "confirm_btn")->click();
        const auto data = sent.at(0).at(0).value<QHash<QString, QString>>();
        QCOMPARE(data.value("joinrow"), QStringLiteral("5"));
        QCOMPARE(data.value("joincolumn"), QStringLiteral("7"));
    }

    void nameAndLogoAreSetBeforeTheSignal_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("picks");
        QTest::addColumn<bool>("reopen");
        QTest::addColumn<bool>("imported");
        QTest::newRow("imported picture becomes the logo") << "Hall A" << QStringList{"pick"} << false << true;
        QTest::newRow("import then cancel keeps the logo") << "" << QStringList{"pick", ""} << false << false;
        QTest::newRow("import, close, reopen keeps the logo") << "x" << QStringList{"pick"} << true << false;
    }

    void nameAndLogoAreSetBeforeTheSignal()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, picks);
        QFETCH(bool, reopen);
        QFETCH(bool, imported);
        const QString picture = makePicture("picked.png", Qt::red);
        PickingWindow window;
        window.setUserName(name);
        window.show();
        for (const QString &pick : picks) {
            window.answers = QStringList{pick == "pick" ? picture : QString()};
            child<QPushButton>(&window, "pic_import_btn")->click();
        }
        if (reopen) {
            child<QPushButton>(&window, "close_btn")->click();
            QCOMPARE(userImagePath, logoInEffect);
            window.show();
        }
        QString nameSeen;
        QString logoSeen;
        connect(&window, &JoinSettingWindows::senddata, this, [&] {
            nameSeen = userName;
            logoSeen = userImagePath;
        });
        child<QPushButton>(&window, "confirm_btn")->click();
        QCOMPARE(nameSeen, name);
        QCOMPARE(logoSeen, imported ? picture : logoInEffect);
        // The preview shows what the next OK commits.
        const QImage preview = child<QLabel>(&window, "show_image")->pixmap(Qt::ReturnByValue).toImage();
        QCOMPARE(QColor(preview.pixel(0, 0)), QColor(imported ? Qt::red : Qt::blue));
    }

    void languageSwitchKeepsTheChoice()
    {
        JoinSettingWindows window;
        window.setRowColumn(9, 11);
        window.setUserName("Control room");
        window.show();
        QString title;
        QString import;
        bool previewKept = false;
        QSignalSpy sent(&window, &JoinSettingWindows::senddata);
        QVERIFY(inChinese([&] {
            title = child<QLabel>(&window, "label_title")->text();
            import = child<QPushButton>(&window, "pic_import_btn")->text();
            previewKept = !child<QLabel>(&window, "show_image")->pixmap(Qt::ReturnByValue).isNull();
            child<QPushButton>(&window, "confirm_btn")->click();
        }));

        QCOMPARE(title, QStringLiteral("拼接配置"));
        QCOMPARE(import, QStringLiteral("导入图片"));
        QVERIFY(previewKept);
        const auto data = sent.at(0).at(0).value<QHash<QString, QString>>();
        QCOMPARE(data.value("joinrow"), QStringLiteral("9"));
        QCOMPARE(data.value("joincolumn"), QStringLiteral("11"));
        QCOMPARE(userName, QStringLiteral("Control room"));
    }
};

VW_TEST_MAIN(TestSpliceSetting)
#include "tst_splicesetting.moc"
