#include "consoletest.h"
#include "initext.h"

using namespace WindowTest;

namespace {

// Every window of the program and each button of it that closes it: the
// title bar's close button, "Close" and "Cancel", and the "OK" and "Modify"
// buttons that close their window on every press.
struct Closer
{
    const char *row;
    const char *window;
    const char *button;
};

const Closer closers[] = {
    {"console, title bar", "Velmar_Windows", "close_pbtn"},
    {"port setting, title bar", "PortSettingWindows", "close_pbtn"},
    {"port setting, OK", "PortSettingWindows", "pt_ok_btn"},
    {"splice setting, title bar", "JoinSettingWindows", "close_pbtn"},
    {"splice setting, Close", "JoinSettingWindows", "close_btn"},
    {"splice setting, OK", "JoinSettingWindows", "confirm_btn"},
    {"matrix configuration, title bar", "MatrixConfigurationWindows", "close_pbtn"},
    {"matrix configuration, OK", "MatrixConfigurationWindows", "mat_ok_btn"},
    {"address set, title bar", "AdderSetWindows", "close_pbtn"},
    {"login, title bar", "LoginWindows", "close_pbtn"},
    {"login, Close", "LoginWindows", "admin_close_btn"},
    {"password change, title bar", "ModifyPwdWindows", "close_pbtn"},
    {"password change, Close", "ModifyPwdWindows", "close_btn"},
    {"about, title bar", "AboutDialog", "close_pbtn"},
    {"both rename windows, title bar", "ChangeNameWindows", "close_pbtn"},
    {"both rename windows, Cancel", "ChangeNameWindows", "cancle_btn"},
    {"both rename windows, Modify", "ChangeNameWindows", "modify_btn"},
    {"debug, title bar", "DebugWindows", "close_pbtn"},
    {"debug, Close", "DebugWindows", "close_btn"},
    {"picture control, title bar", "PictureControlWindows", "close_pbtn"},
    {"picture control, Close", "PictureControlWindows", "close_btn"},
    {"special regulation, title bar", "AlienAdjustWindows", "close_pbtn"},
    {"border effect, title bar", "EdgeMeltingWindows", "close_pbtn"},
    {"multi-media, title bar", "PlaySetWindows", "close_pbtn"},
    {"power schedule, title bar", "TimingSetWindows", "close_pbtn"},
    {"power schedule, Close", "TimingSetWindows", "close_btn"},
    {"power schedule, OK", "TimingSetWindows", "starttime_btn"},
    {"caption settings, title bar", "FontSetWindows", "close_pbtn"},
    {"caption settings, Close", "FontSetWindows", "close_btn"},
    {"virtual remote, title bar", "RemoteControlWindows", "close_pbtn"},
    {"message box, title bar", "MessageBox", "close_pbtn"},
    {"message box, OK", "MessageBox", "ok"},
    {"scrolling caption, its corner button", "RollCaptionWindows", "font_close_pbtn"},
};

// Every slider of the program with the number box that follows it, the
// box that unlocks both and the key that stores the amount.
struct SliderPair
{
    const char *row;
    const char *window;
    const char *slider;
    const char *box;
    const char *unlock;
    const char *stored;
};

const SliderPair sliderPairs[] = {
    {"border effect, horizontal", "EdgeMeltingWindows", "hadjust_sd", "hadjust_sb", "enable_cb", "EdgeSetting/HAdjust"},
    {"border effect, vertical", "EdgeMeltingWindows", "vadjust_sd", "vadjust_sb", "enable_cb", "EdgeSetting/VAdjust"},
};

// Every check box of the program, and the radio buttons that govern fields:
// what ticking it by hand turns on ("=on") and off ("=off"), named by the
// widgets' names, the button that takes it back, and its key in config.ini.
struct Governor
{
    const char *row;
    const char *window;
    const char *box;
    const char *back;
    const char *fields;
    const char *stored;
};

const Governor governors[] = {
    {"port setting, video matrix linkage", "PortSettingWindows", "vlink_cb", "vlink_cb",
     "label_4=on video_cb=on", "PortConfig/VLink"},
    {"port setting, RGB matrix linkage", "PortSettingWindows", "dlink_cb", "dlink_cb",
     "label_5=on rvd_cb=on", "PortConfig/DLink"},
    {"port setting, wireless mode", "PortSettingWindows", "wire_rbtn", "seri_rbtn",
     "serialset_gb=off wir_gb=on", "PortConfig/ConMethod"},
    {"port setting, auto open", "PortSettingWindows", "auto_cb", "auto_cb", "", "PortConfig/AutoOpen"},
    {"console, delayed power-on", "Velmar_Windows", "retard_btn", "retard_btn",
     "sec_lb=on set_sec=on", "MainSetting/DelayOn"},
    {"console, matrix linkage", "Velmar_Windows", "link_cb", "link_cb", "matrix_type_cb=on", "MainSetting/MatrixSelect"},
    {"console, 4K", "Velmar_Windows", "_4k_btn", "_4k_btn", "", ""},
    {"console, manual fan speed", "Velmar_Windows", "fan_manual", "fan_open", "fan_sp1=on fan_sp2=on", ""},
    {"console, start-up logo open", "Velmar_Windows", "logo_open", "logo_close", "logomodel_gb=on", ""},
    {"special regulation, starting adjustment", "AlienAdjustWindows", "startadjust_cb", "startadjust_cb",
     "Alienadjust_gb=on", ""},
    {"border effect, fusion effect", "EdgeMeltingWindows", "enable_cb", "enable_cb", "fuseadjust_gb=on", ""},
    {"power schedule, on and off", "TimingSetWindows", "on_off_btn", "on_off_btn",
     "bhour_sb=on bminute_sb=on model_cb=on shour_sb=on smimute_sb=on", "TimingConfig/Switch"},
    {"caption settings, transparent background", "FontSetWindows", "transparent_cb", "transparent_cb", "",
     "FontSetting/Transparent"},
};

// Windows the console makes on the way: a prompt, and a caption by "Add".
void makeOnTheWay(const QString &className)
{
    if (className == QLatin1String("MessageBox")) {
        (new MessageBox)->setMessage(QStringLiteral("Prompt"), QStringLiteral("Text"));
    } else if (className == QLatin1String("RollCaptionWindows")) {
        QWidget *captions = onlyWindowOf(QStringLiteral("FontSetWindows"));
        enter(captions, {"fonttext_te=Line"});
        child<QPushButton>(captions, "addfont_btn")->click();
    }
}

// Every text a window shows the operator, as "name: text", in the order of
// its widgets. Digits are left out: the clock moves on between two looks.
QStringList textsOfWindow(QWidget *top)
{
    QStringList texts{top->windowTitle()};
    auto add = [&texts](const QWidget *widget, const QString &text) {
        if (!text.isEmpty())
            texts.append(widget->objectName() + QLatin1String(": ") + text);
    };
    for (QWidget *widget : top->findChildren<QWidget *>()) {
        add(widget, widget->toolTip());
        if (auto *label = qobject_cast<QLabel *>(widget))
            add(widget, label->text());
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            add(widget, button->text());
        else if (auto *group = qobject_cast<QGroupBox *>(widget))
            add(widget, group->title());
        else if (auto *edit = qobject_cast<QLineEdit *>(widget))
            add(widget, edit->placeholderText());
        else if (auto *text = qobject_cast<QTextEdit *>(widget))
            add(widget, text->placeholderText());
        else if (auto *box = qobject_cast<QComboBox *>(widget))
            add(widget, WindowTest::items(box).join(QLatin1Char('|')));
        else if (auto *tabs = qobject_cast<QTabWidget *>(widget))
            for (int i = 0; i < tabs->count(); ++i)
                add(widget, tabs->tabText(i));
    }
    return texts.replaceInStrings(QRegularExpression(QStringLiteral("\\d")), QString());
}

// The entries of a menu and of its submenus.
QStringList actionTexts(const QList<QAction *> &actions)
{
    QStringList texts;
    for (const QAction *action : actions)
        texts += QStringList(action->text()) + (action->menu() ? actionTexts(action->menu()->actions()) : QStringList());
    return texts;
}

// The entries of the menu Qt gives an edit of that kind, made afresh.
template <typename Edit>
QStringList standardMenuTexts()
{
    Edit edit;
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    return actionTexts(menu->actions());
}

// The console's menus as they open, which is when they take their texts:
// the screen table's (it runs modally: read and closed from inside) and the
// skin menu.
QStringList menuTexts()
{
    QStringList texts;
    auto readOpenMenus = [&texts] {
        for (QWidget *top : QApplication::topLevelWidgets()) {
            auto *menu = qobject_cast<QMenu *>(top);
            if (menu && menu->isVisible()) {
                texts += actionTexts(menu->actions());
                menu->close();
            }
        }
    };
    QWidget *console = onlyWindowOf(QStringLiteral("Velmar_Windows"));
    QTimer::singleShot(0, console, readOpenMenus);
    QMetaObject::invokeMethod(child<QWidget>(console, "cent_tablewidget"), "customContextMenuRequested",
                              Q_ARG(QPoint, QPoint()));
    child<QToolButton>(console, "skin_btn")->menu()->popup(QPoint());
    readOpenMenus();
    return texts;
}

// What one subject shows now: the program's windows of a class, the
// console's menus, or Qt's own texts in a line edit's or a text edit's menu
// and on the buttons of a message box.
QStringList textsNow(const QString &subject)
{
    if (subject == QLatin1String("QLineEdit"))
        return standardMenuTexts<QLineEdit>();
    if (subject == QLatin1String("QTextEdit"))
        return standardMenuTexts<QTextEdit>();
    if (subject == QLatin1String("QMessageBox")) {
        QMessageBox box(QMessageBox::Question, QString(), QString(),
                        QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No | QMessageBox::Close);
        QStringList texts;
        for (const QAbstractButton *button : box.buttons())
            texts.append(button->text());
        return texts;
    }
    if (subject == QLatin1String("QMenu"))
        return menuTexts();
    QStringList texts;
    for (QWidget *top : windowsOf(subject))
        texts += textsOfWindow(top);
    return texts;
}

// The classes of the program's own parentless windows, menus and Qt's
// helpers left out.
QSet<QString> programWindowClasses()
{
    QSet<QString> classes;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        const QString name = QLatin1String(top->metaObject()->className());
        if (!top->parentWidget() && !name.startsWith(QLatin1Char('Q')))
            classes.insert(name);
    }
    return classes;
}

// The names of the program's widgets of that kind that no row of the
// table names.
template <typename Kind, typename Row, std::size_t N>
QString withoutRow(const Row (&rows)[N], const char *Row::*name)
{
    QStringList missing;
    for (QWidget *widget : QApplication::allWidgets())
        if (qobject_cast<Kind *>(widget)
            && std::none_of(rows, rows + N, [&](const Row &row) { return widget->objectName() == row.*name; }))
            missing << widget->objectName();
    return missing.join(QLatin1Char(' '));
}

// What every named widget of the program shows of one kind (read gives a
// null text for widgets of other kinds), by name, with the class of its
// window in front when that is not the given one.
template <typename Read>
QMap<QString, QString> everyWidget(const QString &window, Read read)
{
    QMap<QString, QString> states;
    for (QWidget *widget : QApplication::allWidgets()) {
        const QString name = widget->objectName(), state = read(widget);
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || state.isNull())
            continue;
        const QString owner = QLatin1String(widget->window()->metaObject()->className());
        states.insert(owner == window ? name : owner + QLatin1Char('/') + name, state);
    }
    return states;
}

// The entries whose state is no longer the one before, as "name=state".
QString changes(const QMap<QString, QString> &before, const QMap<QString, QString> &after)
{
    QStringList changed;
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        if (before.value(it.key()) != it.value())
            changed << it.key() + QLatin1Char('=') + it.value();
    return changed.join(QLatin1Char(' '));
}

// The widget's own enabled flag, not the one its parents give it: a box
// that governs a group box moves only that.
QString ownEnabled(QWidget *widget)
{
    return QLatin1String(widget->testAttribute(Qt::WA_ForceDisabled) ? "off" : "on");
}

// A slider's or a spin box's value; a scroll bar is no amount.
QString amount(QWidget *widget)
{
    if (auto *slider = qobject_cast<QAbstractSlider *>(widget))
        return qobject_cast<QScrollBar *>(widget) ? QString() : QString::number(slider->value());
    if (auto *spin = qobject_cast<QSpinBox *>(widget))
        return QString::number(spin->value());
    return QString();
}

// Types a number into a spin box over what it holds, key by key.
void typeNumber(QSpinBox *box, int number)
{
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, QString::number(number));
    QTest::keyClick(box, Qt::Key_Return);
}

// "[Group]\nKey=value\n" for a key written "Group/Key".
QByteArray iniLine(const QString &key, int value)
{
    return QStringLiteral("[%1]\n%2=%3\n").arg(key.section('/', 0, 0), key.section('/', 1)).arg(value).toLatin1();
}

} // namespace

// Sweeps over every window of the program: the buttons that close a
// window, the sliders and the number boxes that follow them, the check boxes
// and the fields they unlock. Each table names every member of its family,
// and each row also checks that the program has none the table lacks.
class TestEveryWindow : public ConsoleTest
{
    Q_OBJECT

    using ConsoleTest::buildOn;
    // The console built again on config.ini holding only that key.
    void buildOn(const QString &key, int value) { buildOn(iniLine(key, value)); }
    // The program started again on config.ini as the last one left it, but
    // with no skin unless the key under test is the skin: a skin's sheet
    // makes every start and end half as slow again.
    void restart(const QString &keyUnderTest)
    {
        const QString skin = QStringLiteral("MainSetting/Skin");
        if (keyUnderTest != skin)
            saveConfigValue(skin, -1);
        QFile file(ConfigFile::path());
        file.open(QIODevice::ReadOnly);
        buildOn(file.readAll());
    }

    // The console's steps to a window: a slot ("showPortSetWindow()"), a
    // field set ("scene_cb=2") or a field double-clicked ("double-click
    // matrix_type_cb", an editable box in its edit).
    void openBy(const QStringList &steps)
    {
        for (const QString &step : steps) {
            if (step.endsWith(QLatin1String("()"))) {
                if (!QMetaObject::invokeMethod(window, qPrintable(step.chopped(2))))
                    qFatal("no slot %s", qPrintable(step));
            } else if (step.startsWith(QLatin1String("double-click "))) {
                QWidget *field = child<QWidget>(window, step.section(' ', 1));
                if (auto *box = qobject_cast<QComboBox *>(field))
                    field = box->lineEdit();
                QTest::mouseDClick(field, Qt::LeftButton);
            } else {
                enter(window, {step});
            }
        }
    }

    // The window of that class the operator works in: the only one, or
    // the one shown (there are two rename windows).
    QWidget *workedIn(const QString &className)
    {
        const QList<QWidget *> windows = windowsOf(className);
        for (QWidget *top : windows)
            if (windows.size() == 1 || top->isVisible())
                return top;
        qFatal("no window of class %s shown", qPrintable(className));
    }

    // Buttons of the window clicked in turn; "button/n" triggers entry n of
    // the button's menu.
    static void press(QWidget *top, const QStringList &buttons)
    {
        for (const QString &button : buttons) {
            const QString name = button.section('/', 0, 0);
            if (button.contains(QLatin1Char('/')))
                child<QToolButton>(top, name)->menu()->actions().at(button.section('/', 1).toInt())->trigger();
            else
                child<QAbstractButton>(top, name)->click();
        }
    }

private slots:
    void init() { start(); }

    void closeButtonsCloseTheirWindow_data()
    {
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("button");
        for (const Closer &closer : closers)
            QTest::newRow(closer.row) << closer.window << closer.button;
    }
    void closeButtonsCloseTheirWindow()
    {
        QFETCH(QString, className);
        QFETCH(QString, button);
        makeOnTheWay(className);
        QSet<QString> rowClasses;
        for (const Closer &closer : closers)
            rowClasses.insert(QLatin1String(closer.window));
        QVERIFY2(rowClasses.contains(programWindowClasses()),
                 qPrintable((programWindowClasses() - rowClasses).values().join(' ') + " without a row"));

        const QList<QWidget *> windows = windowsOf(className);
        QVERIFY(!windows.isEmpty());
        for (QWidget *top : windows) {
            for (QPushButton *closing : top->findChildren<QPushButton *>()) {
                const QString name = closing->objectName();
                if (!name.endsWith(QLatin1String("close_pbtn")) && closing->text() != QLatin1String("Close")
                    && closing->text() != QLatin1String("Cancel"))
                    continue;
                QVERIFY2(std::any_of(std::begin(closers), std::end(closers),
                                     [&](const Closer &c) { return className == c.window && name == c.button; }),
                         qPrintable(name + " without a row"));
            }
            top->show();
            QVERIFY(QTest::qWaitForWindowExposed(top));
            QEvent enter(QEvent::Enter); // a caption's button shows while the mouse is over it
            if (className == QLatin1String("RollCaptionWindows"))
                QApplication::sendEvent(child<QWidget>(top, "font_widget"), &enter);
            auto *press = child<QAbstractButton>(top, button);
            QVERIFY(press->isVisible() && press->isEnabled());
            QTest::mouseClick(press, Qt::LeftButton);
            QVERIFY(!top->isVisible());
        }
    }

    void slidersAndNumberBoxesFollowEachOther_data()
    {
        QTest::addColumn<int>("pair");
        QTest::addColumn<QString>("mover"); // the slider, the number box or config.ini
        for (int pair = 0; pair < int(std::size(sliderPairs)); ++pair) {
            const QString row = QLatin1String(sliderPairs[pair].row);
            QTest::newRow(qPrintable(row + ", slider moves its number box")) << pair << "slider";
            QTest::newRow(qPrintable(row + ", number box moves its slider")) << pair << "box";
            QTest::newRow(qPrintable(row + ", stored amount moves both")) << pair << "stored";
        }
    }
    void slidersAndNumberBoxesFollowEachOther()
    {
        QFETCH(int, pair);
        QFETCH(QString, mover);
        const SliderPair &row = sliderPairs[pair];
        const QString className = QLatin1String(row.window);
        QCOMPARE(withoutRow<QSlider>(sliderPairs, &SliderPair::slider), QString());

        const QMap<QString, QString> start = everyWidget(className, amount);
        // Both at the top of the range 0 to 100 and nothing else moved.
        const QString top = QStringLiteral("%1=100 %2=100").arg(row.box, row.slider);
        if (mover == QLatin1String("stored")) {
            buildOn(row.stored, 150); // beyond the range: the top
            QCOMPARE(changes(start, everyWidget(className, amount)), top);
            return;
        }
        QWidget *shown = onlyWindowOf(className);
        shown->show();
        clickByHand(child<QAbstractButton>(shown, row.unlock));
        auto *slider = child<QSlider>(shown, row.slider);
        auto *box = child<QSpinBox>(shown, row.box);
        if (mover == QLatin1String("slider"))
            QTest::keyClick(slider, Qt::Key_End);
        else
            typeNumber(box, 100);
        QCOMPARE(changes(start, everyWidget(className, amount)), top);
        if (mover == QLatin1String("slider"))
            QTest::keyClick(slider, Qt::Key_Home);
        else
            typeNumber(box, 0);
        QCOMPARE(changes(start, everyWidget(className, amount)), QString());
    }

    void checkBoxesEnableExactlyTheirFields_data()
    {
        QTest::addColumn<int>("governor");
        for (int i = 0; i < int(std::size(governors)); ++i)
            QTest::newRow(governors[i].row) << i;
    }
    void checkBoxesEnableExactlyTheirFields()
    {
        QFETCH(int, governor);
        const Governor &row = governors[governor];
        const QString className = QLatin1String(row.window);
        QCOMPARE(withoutRow<QCheckBox>(governors, &Governor::box), QString());

        // Shown first: a tab bar lays out its scroll buttons when it shows.
        QWidget *shown = onlyWindowOf(className);
        shown->show();
        const QMap<QString, QString> start = everyWidget(className, ownEnabled);
        auto *box = child<QAbstractButton>(shown, row.box);
        clickByHand(box);
        QVERIFY(box->isChecked());
        QCOMPARE(changes(start, everyWidget(className, ownEnabled)), QLatin1String(row.fields));
        // A field turned on can be used: no parent holds it off.
        for (const QString &field : QString(row.fields).split(' ', Qt::SkipEmptyParts))
            QCOMPARE(child<QWidget>(shown, field.section('=', 0, 0))->isEnabled(), field.endsWith(QLatin1String("=on")));
        clickByHand(child<QAbstractButton>(shown, row.back));
        QVERIFY(!box->isChecked());
        QCOMPARE(changes(start, everyWidget(className, ownEnabled)), QString());

        if (!*row.stored)
            return;
        buildOn(row.stored, 1);
        onlyWindowOf(className)->show();
        QVERIFY(child<QAbstractButton>(onlyWindowOf(className), row.box)->isChecked());
        QCOMPARE(changes(start, everyWidget(className, ownEnabled)), QLatin1String(row.fields));
    }

    void everyStoredValueIsSavedAndReadBack_data() { goldenRows(QStringLiteral(VW_STORED_ROWS)); }
    void everyStoredValueIsSavedAndReadBack()
    {
        const QStringList open = goldenList(golden("open")), stored = goldenList(golden("stored"));
        const QStringList typed = goldenList(golden("typed"));
        const QString key = golden("saved").section('=', 0, 0), saved = golden("saved").section('=', 1);
        const QStringList expected = golden("shown").isEmpty() ? typed : goldenList(golden("shown"));
        QVERIFY2(std::any_of(stored.cbegin(), stored.cend(),
                             [&](const QString &entry) { return entry.startsWith(key + '=') && entry != golden("saved"); }),
                 "no stored value of the key, or the one saved");
        // At the first start and at the start on the stored value, the
        // window must not show what is typed already.
        auto alreadyShown = [&] {
            const QStringList now = shownNow(workedIn(golden("window")), expected);
            QStringList same;
            for (int i = 0; i < now.size(); ++i)
                if (now.at(i) == expected.at(i))
                    same.append(now.at(i));
            return same.join(' ');
        };

        openBy(open);
        QVERIFY2(alreadyShown().isEmpty(), qPrintable("the first start shows " + alreadyShown()));
        window->close();
        for (const QString &entry : stored)
            saveConfigValue(entry.section('=', 0, 0), entry.section('=', 1));
        restart(key);
        openBy(open);
        QVERIFY2(alreadyShown().isEmpty(), qPrintable("the stored value shows " + alreadyShown()));

        QWidget *worked = workedIn(golden("window"));
        enter(worked, typed);
        press(worked, goldenList(golden("press")));
        QVERIFY(worked == window || !worked->isVisible()); // closed by its own button
        // A window keeping a group of its own has it on the disk at its own
        // close, not held in memory for a later save; MainSetting the console
        // saves for the windows that hand it their values.
        if (worked != window && !key.startsWith(QLatin1String("MainSetting/"))) {
            QFile onDisk(ConfigFile::path());
            QVERIFY(onDisk.open(QIODevice::ReadOnly));
            QCOMPARE(IniText::read(onDisk.readAll()).value(key).toVariant().toString(), saved);
        }
        window->close();
        QCOMPARE(ConfigFile::open()->value(key).toString(), saved);
        restart(key);
        openBy(open);
        QCOMPARE(shownNow(workedIn(golden("window")), expected), expected);
    }

    // Chinese and back to English by the console's button: every window of
    // the program, the console's menus and Qt's own texts are English again.
    void languageRoundTripGivesEnglishBack_data()
    {
        QTest::addColumn<QString>("subject");
        QStringList classes; // the closers name every window class, some more than once
        for (const Closer &closer : closers) {
            if (classes.contains(closer.window))
                continue;
            classes.append(closer.window);
            QTest::newRow(qPrintable(QString(closer.row).section(',', 0, 0))) << closer.window;
        }
        QTest::newRow("console's menus") << "QMenu";
        QTest::newRow("Qt's line edit menu") << "QLineEdit";
        QTest::newRow("Qt's text edit menu") << "QTextEdit";
        QTest::newRow("Qt's message box buttons") << "QMessageBox";
    }
    void languageRoundTripGivesEnglishBack()
    {
        QFETCH(QString, subject);
        makeOnTheWay(subject);
        auto switchLanguage = [this, &subject] {
            ui->language_btn->click();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
            return textsNow(subject);
        };
        const QStringList english = textsNow(subject);
        QVERIFY2(switchLanguage() != english, "nothing of it is in Chinese");
        const QStringList back = switchLanguage();
        QStringList notBack;
        for (const QString &text : back)
            if (!english.contains(text))
                notBack.append(text);
        QCOMPARE(notBack.join(QLatin1String(" | ")), QString());
    }
};

VW_TEST_MAIN(TestEveryWindow)
#include "tst_everywindow.moc"
