// The command dispatcher of the main window's controls and screen-table
// menu, and the log pane of sent frames.

#include "velmar_windows.h"
#include "ui_velmar_windows.h"

#include <QCursor>
#include <QMenu>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

#include "addresscommands.h"
#include "communication.h"
#include "globalobject.h"

namespace {

// One dispatcher row: the instruction and how the parameter is chosen. A
// row with choices takes the parameter of the first checked radio button.
struct Choice
{
    QAbstractButton *radio;
    const char *param;
};

struct DispatchRow
{
    QObject *sender;
    const char *instruction;
    const char *param; // a name of the instruction table, or nullptr for choices
    QList<Choice> choices;
    bool literal = false; // param is the parameter itself, not a name
};

QString lookup(const char *name)
{
    return GlobalObject::instructionHash.value(QLatin1String(name));
}

QString twoHexDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace

// The parameter name of each signal type, by the index of signal_type_cb.
static const char *const signalParams[] = {"video", "vga", "dvi", "hdmi", "sdi", "yuv", "video2"};

QString Velmar_Windows::signalParameter() const
{
    const int index = ui->signal_type_cb->currentIndex();
    if (index < 0 || index >= int(std::size(signalParams)))
        return QString();
    return lookup(signalParams[index]);
}

void Velmar_Windows::sendInstructionOperation()
{
    QObject *from = sender();
    if (!from)
        return;

    if (from == ui->run_btn) {
        emit upDateTWContent();
        sendLcdCommand(lookup("chan_Selec"), signalParameter(), true, 0);
        return;
    }
    if (from == ui->on_btn || from == ui->off_btn) {
        // A Boot or Standby ends the one still being sent (a delayed Boot
        // takes seconds per screen): the wall ends as asked last.
        const quint64 run = ++powerRun;
        const SendGuard lastAsked = [this, run] { return powerRun == run; };
        if (from == ui->off_btn) {
            sendLcdCommand(lookup("on_off"), lookup("pow_off"), false, 0, lcdFrameIntervalMs, lastAsked);
            return;
        }
        const int target = ui->_4k_btn->isChecked() ? 2 : 0;
        // Delayed: the screens switch on one after the other, set_sec apart.
        const bool delayed = ui->retard_btn->isChecked();
        sendLcdCommand(lookup("on_off"), lookup("pow_on"), delayed, target,
                       delayed ? ui->set_sec->value() * 1000 : lcdFrameIntervalMs, lastAsked);
        return;
    }
    if (from == ui->fan_apply && ui->fan_manual->isChecked() && !ui->fan_open->isChecked()
        && !ui->fan_close->isChecked() && !ui->fan_auto->isChecked()) {
        const QString code = lookup("ft_control");
        sendLcdCommand(code, lookup("manual"), false, 0);
        sendLcdCommand(code, twoHexDigits(ui->fan_sp1->value()), false, 0);
        sendLcdCommand(code, twoHexDigits(ui->fan_sp2->value()), false, 0);
        return;
    }

    const struct
    {
        QObject *button;
        AddressCommands::Action action;
    } addressButtons[] = {
        {ui->getnum_btn1, AddressCommands::Action::GetSequence},
        {ui->lookadd_btn1, AddressCommands::Action::LookAddress},
        {ui->lock_btn1, AddressCommands::Action::Lock},
        {ui->unlock_btn1, AddressCommands::Action::Unlock},
        {ui->setadder_btn1, AddressCommands::Action::SetAddress},
    };
    for (const auto &entry : addressButtons) {
        if (from != entry.button)
            continue;
        AddressCommands::perform(entry.action, ui->num_le1->text(), ui->x_le1->text(), ui->y_le1->text());
        return;
    }

    const QList<DispatchRow> rows = {
        {ui->fan_apply, "ft_control", nullptr,
         {{ui->fan_open, "open"}, {ui->fan_close, "close"}, {ui->fan_auto, "auto"}}},
        {ui->ti_apply, "ti_mode_aj", nullptr, {{ui->ti0_btn, "ti0"}, {ui->ti1_btn, "ti1"}}},
        {ui->group_apply, "ab_group_aj", nullptr, {{ui->agroup_btn, "agroup"}, {ui->bgroup_btn, "bgroup"}}},
        {ui->ad_apply, "eight_ten_bit", nullptr, {{ui->eightbit_btn, "8bit"}, {ui->tenbit_btn, "10bit"}}},
        {ui->software_btn, "version", "versonnum", {}},
        {ui->pupdate_btn, "package_updated", "update", {}},
        {ui->age_open, "aging_off_on", "aging_open", {}},
        {ui->age_close, "aging_off_on", "aging_close", {}},
        {ui->logo_open, "logo_off_on", "logoopen", {}},
        {ui->logo_close, "logo_off_on", "logoclose", {}},
        {ui->joinmodel_btn, "logo_model", "joinmodel", {}},
        {ui->alonemodel_btn, "logo_model", "alonemodel", {}},
        {ui->amd_btn, "amd_norm_card", "amd", {}},
        {ui->common_btn, "amd_norm_card", "common", {}},
        {stillAction, "still", "adjust", {}},
        {localSaveAction, "save", "adjust", {}},
        {blackScreenAction, "no_signal_black", "black", {}},
        {blueScreenAction, "no_signal_blue", "blue", {}},
        {agingOpenAction, "aging_off_on", "aging_open", {}},
        {agingOffAction, "aging_off_on", "aging_close", {}},
        {positiveAction, "image_pos_rev", "positive", {}},
        {inverseAction, "image_pos_rev", "inverse", {}},
        {updateAction, "package_updated", "update", {}},
        {stitch2kAction, "splicing_patterns", "2k", {}},
        {stitch4kAction, "splicing_patterns", "4k", {}},
        {multiScreenAction, "splicing_patterns", "02", {}, true},
    };
    for (const DispatchRow &row : rows) {
        if (from != row.sender)
            continue;
        QString param;
        if (row.literal) {
            param = QLatin1String(row.param);
        } else if (row.param) {
            param = lookup(row.param);
        } else {
            for (const Choice &choice : row.choices) {
                if (choice.radio->isChecked()) {
                    param = lookup(choice.param);
                    break;
                }
            }
        }
        sendLcdCommand(lookup(row.instruction), param, false, 0);
        return;
    }
}

void Velmar_Windows::showTableWidgetMenu()
{
    stillAction->setText(tr("Still"));
    signalPatternMenu->setTitle(tr("Signal pattern"));
    agingModeMenu->setTitle(tr("Aging Mode"));
    flipModelMenu->setTitle(tr("Flip model"));
    stitchingModeMenu->setTitle(tr("Stitching mode"));
    imageAdjustAction->setText(tr("Image adjustment"));
    localSaveAction->setText(tr("Local save"));
    borderEffectAction->setText(tr("Border effect"));
    blackScreenAction->setText(tr("No signal black screen  "));
    blueScreenAction->setText(tr("No signal blue screen"));
    specialRegulationAction->setText(tr("Special regulation"));
    agingOpenAction->setText(tr("Mode open"));
    agingOffAction->setText(tr("Mode off"));
    positiveAction->setText(tr("Positive"));
    inverseAction->setText(tr("Inverse"));
    updateAction->setText(tr("Update"));
    stitch2kAction->setText(tr("2K"));
    stitch4kAction->setText(tr("4K"));
    multiScreenAction->setText(tr("Multi screen"));

    // Adding an entry the menu holds already moves it to the end, so the
    // order is the same at every opening.
    tableMenu->addAction(stillAction);
    tableMenu->addAction(imageAdjustAction);
    tableMenu->addAction(localSaveAction);
    tableMenu->addAction(borderEffectAction);
    tableMenu->addMenu(signalPatternMenu);
    tableMenu->addAction(specialRegulationAction);
    tableMenu->addMenu(agingModeMenu);
    tableMenu->addMenu(flipModelMenu);
    if (stitchingEnabled) {
        tableMenu->removeAction(updateAction);
        tableMenu->addMenu(stitchingModeMenu);
    } else {
        tableMenu->addAction(updateAction);
    }
    tableMenu->exec(QCursor::pos());
}

void Velmar_Windows::updateTextEditContent(QString command, bool result, bool matrix)
{
    QString line;
    if (matrix) {
        line = command + QLatin1Char(' ');
    } else {
        line = QStringLiteral(">");
        for (int i = 0; i < command.size(); i += 2) {
            line += command.mid(i, 2);
            if (i != command.size() - 2)
                line += QLatin1Char(',');
        }
    }
    if (result)
        line += QStringLiteral("(OK)");
    // A matrix frame's text carries the device id from config.ini as it is:
    // append() would take markup in it for rich text and load what it names.
    QScrollBar *bar = ui->com_textedit->verticalScrollBar();
    const bool atBottom = bar->value() >= bar->maximum();
    QTextCursor end(ui->com_textedit->document());
    end.movePosition(QTextCursor::End);
    if (!ui->com_textedit->document()->isEmpty())
        end.insertBlock();
    end.insertText(line);
    if (atBottom)
        bar->setValue(bar->maximum());
}
