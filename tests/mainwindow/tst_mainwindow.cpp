#include "aboutdialog.h"
#include "changenamewindows.h"
#include "consoletest.h"
#include "fontsetwindows.h"
#include "joinsettingwindows.h"
#include "matrixconfigurationwindows.h"

using namespace WindowTest;

// The main window without links: the grid, its settings through restarts and
// a language switch, what a login unlocks, and the screen table's menu.
class TestMainWindow : public ConsoleTest
{
    Q_OBJECT

    MessageBoxCatcher catcher; // a message the test does not expect must not block it

    void wall(int rows, int columns)
    {
        window->getJoinSettingWindowsData({{"joinrow", QString::number(rows)}, {"joincolumn", QString::number(columns)}});
    }
    // The menu runs modally: read it from inside and close it.
    QStringList openMenu()
    {
        QStringList texts;
        QTimer::singleShot(0, window, [this, &texts] {
            for (QAction *action : window->tableMenu->actions()) {
                texts.append(action->text());
                for (QAction *entry : action->menu() ? action->menu()->actions() : QList<QAction *>())
                    texts.append(entry->text());
            }
            window->tableMenu->close();
        });
        window->showTableWidgetMenu();
        return texts;
    }
    // What is unlocked, as text, so that a mismatch shows it all.
    QString rights() const
    {
        QStringList items;
        for (QWidget *button : {ui->mat_set_btn, ui->play_set_btn, ui->control_btn})
            if (button->isEnabled())
                items << button->objectName();
        if (window->imageAdjustAction->isEnabled())
            items << QStringLiteral("image adjustment");
        items << QStringLiteral("page %1").arg(ui->stackedWidget->currentIndex());
        if (window->stitchingEnabled)
            items << QStringLiteral("stitching");
        return items.join(' ');
    }

    // What the operator sees over and in the console: each window shown by
    // its title (a menu by its entries), the status strip, the log pane and
    // the screens' texts.
    QStringList sight() const
    {
        QStringList seen;
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (top == window || !top->isVisible())
                continue;
            QStringList entries;
            if (auto *menu = qobject_cast<QMenu *>(top))
                for (const QAction *action : menu->actions())
                    entries << action->text();
            seen << (entries.isEmpty() ? "window " + top->windowTitle() : "menu " + entries.join(", "));
        }
        seen << "strip " + ui->show_comstatus->text() << "strip " + ui->usertype_lb->text();
        for (const QString &line : log())
            seen << "log " + line;
        const QTableWidget *grid = ui->cent_tablewidget;
        for (const QTableWidgetItem *item : grid->findItems(QStringLiteral("."), Qt::MatchRegularExpression))
            seen << QStringLiteral("screen %1%2 %3").arg(item->column() + 1).arg(item->row() + 1).arg(item->text());
        return seen;
    }

private slots:
    void init() { build(); }

    void selectionGivesAddresses_data() { goldenRows(QStringLiteral("wallselection.tsv")); }
    void selectionGivesAddresses()
    {
        // The grid numbers its rows and columns, which name the screens' addresses.
        const QTableWidget *grid = ui->cent_tablewidget;
        QVERIFY(!grid->horizontalHeader()->isHidden() && !grid->verticalHeader()->isHidden());
        // A thin column header leaves the cells the room of the wall.
        QCOMPARE(grid->horizontalHeader()->height(), 18);
        if (const int size = golden("size").toInt())
            wall(size, size);
        const QStringList c = golden("cells").split(',');
        selectCells(ui->cent_tablewidget, c[1].toInt(), c[0].toInt(), c[3].toInt(), c[2].toInt());
        QStringList got = GlobalObject::targetAddressList;
        got.sort(); // the selection model's order is its own
        for (const QString &corner : goldenList(golden("addresses")))
            QVERIFY2(got.contains(corner), qPrintable(got.join(' ')));
        QCOMPARE(GlobalObject::matrixOutList.size(), got.size());
        // A wall that shrinks past the selection leaves nothing selected.
        wall(1, 1);
        QVERIFY(GlobalObject::targetAddressList.isEmpty());
    }

    void settingsSurviveARestart()
    {
        wall(3, 4);
        userName = QStringLiteral("Control room");
        enter(window, {"signal_type_cb=3", "matrix_type_cb=5"}); // HDMI, input 6
        window->updateMInputName(QStringLiteral("Camera 6"));
        ui->scene_cb->setCurrentIndex(2);
        window->updateSceneName(QStringLiteral("Evening"));
        const QStringList values{"retard_btn=1",      "link_cb=1",         "fan_sp1=120",       "matrix_bin_le=003",
                                 "matrix_ein_le=004", "matrix_bout_le=005", "matrix_eout_le=006"};
        enter(window, values);
        QImage logo(8, 8, QImage::Format_RGB32);
        logo.fill(Qt::red);
        userImagePath = appDirPath + QStringLiteral("/logo.png");
        QVERIFY(logo.save(userImagePath));
        // Splice Setting's OK shows its logo in the console as soon as it is decoded.
        window->getJoinSettingWindowsData({{"joinrow", QString::number(ui->cent_tablewidget->rowCount())},
                                           {"joincolumn", QString::number(ui->cent_tablewidget->columnCount())}});
        QTRY_COMPARE(QColor(ui->show_image->pixmap(Qt::ReturnByValue).toImage().pixel(0, 0)), QColor(Qt::red));
        window->showMatrixSetWindow();
        window->close();
        QCOMPARE(QSettings(ConfigFile::path(), QSettings::IniFormat).value("MainSetting/SceneList/3/Scene").toString(),
                 QStringLiteral("Evening"));
        // The close closes and saves the open child windows; one never opened has nothing to save.
        QVERIFY(!window->matrixSetWindow->isVisible() && ConfigFile::hasGroup(QStringLiteral("MatrixConfig"))
                && !ConfigFile::hasGroup(QStringLiteral("EdgeSetting")));

        userName.clear();
        userImagePath.clear();
        build();
        QTRY_COMPARE(QColor(ui->show_image->pixmap(Qt::ReturnByValue).toImage().pixel(0, 0)), QColor(Qt::red));
        QCOMPARE(ui->cent_tablewidget->rowCount() * 100 + ui->cent_tablewidget->columnCount(), 304);
        window->showJoinSetWindow(); // the splice window opens at the wall's size
        QCOMPARE(shownNow(window->joinSetWindow, {"join_row_cb", "join_column_cb"}).join(' '), "join_row_cb=2 join_column_cb=3");
        QCOMPARE(ui->signal_type_cb->currentText() + ", " + ui->matrix_type_cb->currentText(), QStringLiteral("HDMI, Camera 6"));
        ui->matrix_type_cb->completer()->setCompletionPrefix(QStringLiteral("camera")); // typed in any case
        QCOMPARE(ui->matrix_type_cb->completer()->currentCompletion(), QStringLiteral("Camera 6"));
        // Typed, the names that match drop down as a list to pick from.
        window->show();
        ui->matrix_type_cb->lineEdit()->clear();
        QTest::keyClicks(ui->matrix_type_cb->lineEdit(), QStringLiteral("cam"));
        QTRY_VERIFY(ui->matrix_type_cb->completer()->popup()->isVisible());
        QCOMPARE(ui->matrix_type_cb->completer()->popup()->currentIndex().data().toString() + '|'
                     + ui->matrix_type_cb->lineEdit()->text(),
                 QStringLiteral("|cam"));
        window->updateMatrixInputSize(QStringLiteral("HDMI"), 8);
        window->updateMatrixInputSize(QStringLiteral("DVI"), -3);
        window->updateMatrixInputSize(QStringLiteral("SDI"), 3);
        QCOMPARE(ui->matrix_type_cb->count(), 8);
        QCOMPARE(ui->matrix_type_cb->itemText(5), QStringLiteral("Camera 6"));
        // The chosen scene, renamed.
        QCOMPARE(ui->sscene_cb->itemText(2) + ui->scene_cb->currentText(), QStringLiteral("EveningEvening"));
        // Typed in any case in a scene box, a scene's name completes.
        for (QComboBox *box : {ui->scene_cb, ui->bscene_cb, ui->sscene_cb}) {
            box->completer()->setCompletionPrefix(QStringLiteral("even"));
            QCOMPARE(box->completer()->currentCompletion(), QStringLiteral("Evening"));
        }
        QCOMPARE(shownNow(window, values), values);
        QVERIFY(ui->set_sec->isEnabled() && ui->sec_lb->isEnabled());
        enter(window, {"retard_btn=0"}); // the delay is typed only while it is ticked
        QVERIFY(!ui->set_sec->isEnabled() && !ui->sec_lb->isEnabled());
        // Linked, the matrix model the switch goes to stands beside the box;
        // unlinked, neither it nor its title.
        const QString model = window->matrixSetWindow->getMatrixModel(QStringLiteral("HDMI"));
        QVERIFY(ui->linktitle_lb->isVisible() && ui->linktitle_lb_2->isVisible());
        QCOMPARE(ui->linktitle_lb_2->text(), model);
        enter(window, {"link_cb=0"});
        QVERIFY(!ui->linktitle_lb->isVisible() && !ui->linktitle_lb_2->isVisible() && !ui->matrix_type_cb->isEnabled());
        enter(window, {"link_cb=1"});
        QVERIFY(ui->linktitle_lb->isVisible() && ui->linktitle_lb_2->isVisible() && ui->matrix_type_cb->isEnabled());
        QCOMPARE(ui->show_username->text(), QStringLiteral("Control room"));
        // SDI and YUV use the general list of 32.
        ui->signal_type_cb->setCurrentText(QStringLiteral("YUV"));
        QCOMPARE(ui->matrix_type_cb->count(), 32);
    }

    void languageSwitchKeepsChoicesAndIsRestored()
    {
        enter(window, {"signal_type_cb=3", "matrix_type_cb=6", "bscene_cb=4", "matrix_bin_le=005", "link_cb=1"});
        const QString model = ui->linktitle_lb_2->text(); // the linked switch reads it
        QCOMPARE(model, window->matrixSetWindow->getMatrixModel(QStringLiteral("HDMI")));
        window->languageSwitch();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCOMPARE(ui->linktitle_lb_2->text(), model);
        QCOMPARE(portStatusText, QStringLiteral("关闭"));
        QCOMPARE(child<QPushButton>(window->sceneNameWindows, "modify_btn")->text()
                     + child<QPushButton>(window->aboutWindow, "look_pbtn")->text(), QStringLiteral("修改版本"));
        QCOMPARE(ui->matrix_type_cb->currentIndex() + ui->bscene_cb->currentIndex(), 10);
        QCOMPARE(ui->matrix_bin_le->text(), QStringLiteral("005"));
        QTRY_VERIFY(!ui->show_image->pixmap(Qt::ReturnByValue).isNull());
        window->blackSkinAction->trigger();
        window->close();
        build();
        QCOMPARE(GlobalObject::locale.language(), QLocale::Chinese);
        QVERIFY(qApp->styleSheet().startsWith(QStringLiteral("QPalette{background:#E6E6E6;}")));
        GlobalObject::setStyle(QStringLiteral(":/qss/staticfile/qss/blue.css"));
    }

    // Every window the console builds shows a picture on its close button,
    // which closes it, stays above the console once shown and is named in the
    // task bar by its title bar's text in either language (the scrolling
    // caption, which has no title bar, by the button that makes it); the
    // console itself is frameless, dragged by its own filter, and ends the
    // program.
    void everyWindowClosesStaysAboveAndIsNamedByItsTitleBar()
    {
        const QImage closing = QApplication::style()->standardPixmap(QStyle::SP_TitleBarCloseButton).toImage();
        auto showsClosing = [&](QAbstractButton *b) { return b->icon().pixmap(closing.size()).toImage() == closing; };
        QVERIFY(window->windowFlags().testFlag(Qt::FramelessWindowHint) && window->property("CanMove").toBool()
                && window->testAttribute(Qt::WA_QuitOnClose) && showsClosing(ui->close_pbtn));
        window->show();
        window->showFontSetWindow();
        child<QTextEdit>(window->fontSetWindow, "fonttext_te")->setPlainText(QStringLiteral("Welcome"));
        auto *addCaption = child<QPushButton>(window->fontSetWindow, "addfont_btn");
        addCaption->click();
        int windows = 0, captions = 0;
        for (QWidget *top : QApplication::topLevelWidgets()) {
            auto *close = top->findChild<QAbstractButton *>(QStringLiteral("close_pbtn"));
            const QLabel *title = top->findChildren<QLabel *>(QRegularExpression(QStringLiteral("^label_title"))).value(0);
            const QWidget *namer = title;
            if (!title && top->inherits("RollCaptionWindows"))
                namer = addCaption;
            const QString english = namer ? namer->property("text").toString() : QString();
            captions += namer == addCaption;
            QVERIFY(!namer || (top->windowTitle() == english && WindowTest::inChinese([&] {
                                   const QString chinese = namer->property("text").toString();
                                   QVERIFY2(top->windowTitle() == chinese && english != chinese, qPrintable(english));
                               })));
            for (QComboBox *combo : top->findChildren<QComboBox *>()) // the skins' list rules reach every row
                QVERIFY2(qobject_cast<QStyledItemDelegate *>(combo->itemDelegate()), qPrintable(combo->objectName()));
            if (!close || top == window)
                continue;
            top->show();
            close->click();
            QVERIFY2(showsClosing(close) && !top->isVisible() && top->property("CanMove").toBool() && title
                         && top->windowHandle()->transientParent() == window->windowHandle()
                         && top->windowFlags().testFlag(Qt::FramelessWindowHint), top->metaObject()->className());
            ++windows;
        }
        QVERIFY(windows >= 15 && captions == 1);
    }

    void doubleClickOnTheTitleMaximizes()
    {
        window->setGeometry(10, 10, 1200, 800);
        // The button beside it shows what a click would do: maximize, or restore.
        const auto maxIcon = [this] { return ui->max_pbtn->icon().pixmap(16).toImage(); };
        const QImage maximizes = maxIcon();
        QTest::mouseDClick(ui->label_title, Qt::LeftButton);
        QVERIFY(window->geometry() != QRect(10, 10, 1200, 800)); // as large as the desktop lets it
        QVERIFY(maxIcon() != maximizes);
        QTest::mouseDClick(ui->label_title, Qt::LeftButton);
        QCOMPARE(window->geometry(), QRect(10, 10, 1200, 800));
        QCOMPARE(maxIcon(), maximizes);
        const QString clock = ui->time_label->text(); // the clock moves on every second
        QTRY_VERIFY_WITH_TIMEOUT(ui->time_label->text() != clock, 3000);
        ui->min_pbtn->click();
        QVERIFY(!ui->max_pbtn->icon().isNull() && !ui->port_open_btn->icon().isNull() && window->isMinimized());
        // The skin menu opens 48 pixels right of and 25 above where it is put.
        window->skinMenu->popup(QPoint(100, 100));
        QTRY_COMPARE(window->skinMenu->pos(), QPoint(148, 75));
        QCOMPARE(window->skinMenu->actions().at(0)->text() + ", " + window->skinMenu->actions().at(1)->text(),
                 QStringLiteral("Blue, Black"));
    }

    // Each button of the ribbon and of the side panel clicked by hand, its
    // ribbon page first brought forward by its tab.
    void everyButtonDoesWhatItSays_data() { goldenRows(QStringLiteral("mainbuttons.tsv")); }
    void everyButtonDoesWhatItSays()
    {
        QStringList buttons;
        for (int tab = 0; tab < ui->tabWidget->count(); ++tab)
            for (const QToolButton *button : ui->tabWidget->widget(tab)->findChildren<QToolButton *>())
                buttons << button->objectName();
        for (const QGroupBox *side : {ui->groupBox, ui->groupBox_2, ui->groupBox_3})
            for (const QPushButton *button : side->findChildren<QPushButton *>())
                buttons << button->objectName();
        QStringList rows = goldenColumn(QStringLiteral("mainbuttons.tsv"), QStringLiteral("button"));
        buttons.sort();
        rows.sort();
        QCOMPARE(buttons, rows);

        writePortConfig({QStringLiteral("COM1")}, false, false, bridge.port());
        build();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        selectCells(ui->cent_tablewidget, 0, 0, 0, 1);
        for (const QString &step : goldenList(golden("before"))) {
            if (step == QLatin1String("link open")) {
                window->openSerial();
                QVERIFY(GlobalObject::linkOpen);
            } else {
                window->userLoginChange(step.section(' ', 1).toInt(), QStringLiteral("管理员"));
            }
        }
        auto *button = child<QAbstractButton>(window, golden("button"));
        QTabBar *tabs = ui->tabWidget->tabBar();
        for (int tab = 0; tab < tabs->count(); ++tab)
            if (ui->tabWidget->widget(tab)->isAncestorOf(button))
                QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(tab).center());
        QVERIFY(button->isVisible());

        const bool greyed = !button->isEnabled();
        const QStringList before = sight();
        // A menu runs a loop of its own: it is seen, and closed, from inside.
        QStringList after;
        QTimer inMenu;
        inMenu.setSingleShot(true);
        connect(&inMenu, &QTimer::timeout, &inMenu, [&] {
            if (QWidget *menu = QApplication::activePopupWidget()) {
                after = sight();
                menu->close();
            }
        });
        inMenu.start(0);
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY(!inMenu.isActive());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange); // the re-texting
        QStringList seen;
        if (greyed)
            seen << QStringLiteral("greyed out");
        for (const QString &thing : after.isEmpty() ? sight() : after)
            if (!before.contains(thing))
                seen << thing;
        QCOMPARE(seen.join(QLatin1Char('|')), golden("seen"));
    }

    void login_data() { goldenRows(QStringLiteral("rights.tsv")); }
    void login()
    {
        const int mode = golden("mode").toInt();
        window->updateTextEditContent(QStringLiteral("C611111001BB"), false, false);
        window->userLoginChange(mode, QStringLiteral("管理员"));
        QTEST(rights(), "rights");
        QCOMPARE(ui->usertype_lb->text(), QStringLiteral("Permission : Administrator"));
        QCOMPARE(ui->com_textedit->toPlainText().isEmpty(), mode == 0 || mode == 1 || mode == 3);
        QTEST(openMenu().join('|'), "menu");
        window->userLogoutChange();
        QCOMPARE(rights(), mode == 2 ? QStringLiteral("page 0 stitching") : QStringLiteral("page 0"));
        QCOMPARE(ui->usertype_lb->text(), QStringLiteral("Permission : User"));
    }
};

VW_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
