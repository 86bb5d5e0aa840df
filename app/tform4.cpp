#include "tform4.h"

#include "announcer.h"
#include "label.h"
#include "listbox.h"
#include "scaledstyle.h"
#include "timer.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QIcon>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <utility>

namespace {

// Every size the build drew from the program's SVG.
QIcon programIcon()
{
    const QDir drawn(QStringLiteral(":/icons"));
    QIcon icon;
    for (const QString &file : drawn.entryList())
        icon.addFile(drawn.filePath(file));
    return icon;
}

} // namespace

TForm4::TForm4(SeedSource seeds)
    : style(new ScaledStyle(this))
    , ui(buildControls(this, style))
    , Timer1(new Timer(this))
    , announcer(new Announcer(this))
    , stepper(*this, entryTable, std::move(seeds))
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Pimbola"));
    setStyle(style);
    setFixedSize(393, 635);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    FormCreate();
    connectHandlers();
}

// The icon is not needed for the window to appear: decoding it and handing
// it to the window system after the first paint shortens the child's wait.
void TForm4::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    if (std::exchange(iconPending, false))
        QTimer::singleShot(0, this, [this] { setWindowIcon(programIcon()); });
}

// Closing ends the program; no tick may reach a half-closed window.
void TForm4::closeEvent(QCloseEvent *event)
{
    Timer1->setEnabled(false);
    QWidget::closeEvent(event);
}

// A desktop switching to a dark or high-contrast scheme changes the
// background under the coloured texts.
void TForm4::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        applyTextColours(this);
    QWidget::changeEvent(event);
}

void TForm4::FormCreate()
{
    FillEntryTable(entryTable);
}

void TForm4::connectHandlers()
{
    connect(ui.Button[1], &QPushButton::clicked, this, &TForm4::Button1Click);
    connect(ui.Button[2], &QPushButton::clicked, this, &TForm4::Button2Click);
    connect(ui.Button[3], &QPushButton::clicked, this, &TForm4::Button3Click);
    for (int row = 1; row <= 9; ++row)
        connect(ui.CheckBox[row], &QCheckBox::toggled, this, &TForm4::SingleRowChange);
    connect(ui.CheckBox[10], &QCheckBox::toggled, this, &TForm4::CheckBox10Change);
    connect(ui.CheckBox[13], &QCheckBox::toggled, this, &TForm4::CheckBox13Change);
    connect(ui.ListBox1, &ListBox::changed, this, &TForm4::ListBox1Change);
    connect(Timer1, &Timer::tick, this, &TForm4::Timer1Timer);
}

void TForm4::Button1Click()
{
    stepper.Button1Click();
}

void TForm4::Button2Click()
{
    close();
}

void TForm4::Button3Click()
{
    stepper.Button3Click();
}

// Checking one of the three ways of choosing rows clears the other two.
// Unchecking clears nothing, and the boxes it clears call back here
// unchecked, so a click never cascades further.
void TForm4::SingleRowChange(bool checked)
{
    if (!checked)
        return;
    ui.CheckBox[10]->setChecked(false);
    ui.CheckBox[13]->setChecked(false);
}

void TForm4::CheckBox10Change(bool checked)
{
    if (!checked)
        return;
    uncheckSingleRows();
    ui.CheckBox[13]->setChecked(false);
}

void TForm4::CheckBox13Change(bool checked)
{
    if (!checked)
        return;
    uncheckSingleRows();
    ui.CheckBox[10]->setChecked(false);
}

void TForm4::uncheckSingleRows()
{
    for (int row = 1; row <= 9; ++row)
        ui.CheckBox[row]->setChecked(false);
}

void TForm4::ListBox1Change()
{
    stepper.ListBox1Change();
}

void TForm4::Timer1Timer()
{
    stepper.Timer1Timer();
}

DrillChoice TForm4::drillChoice() const
{
    DrillChoice choice;
    choice.rowsOneToNine = ui.CheckBox[13]->isChecked();
    choice.rowsZeroToNine = ui.CheckBox[10]->isChecked();
    for (int row = 1; row <= 9; ++row)
        choice.singleRows[row - 1] = ui.CheckBox[row]->isChecked();
    choice.includeTimesZero = ui.CheckBox[12]->isChecked();
    if (ui.RadioButton[1]->isChecked())
        choice.order = DrillOrder::Ascending;
    else if (ui.RadioButton[3]->isChecked())
        choice.order = DrillOrder::Shuffled;
    else
        choice.order = DrillOrder::Descending;
    return choice;
}

bool TForm4::recitationWanted() const
{
    return ui.CheckBox[11]->isChecked();
}

int TForm4::intervalItemIndex() const
{
    return ui.ListBox1->itemIndex();
}

void TForm4::showExpression(const std::string &text)
{
    ui.Label[1]->setText(QString::fromStdString(text));
}

void TForm4::showAnswer(const std::string &text)
{
    ui.Label[3]->setText(QString::fromStdString(text));
}

void TForm4::showRecitation(const std::string &text)
{
    ui.Label[4]->setText(QString::fromStdString(text));
}

void TForm4::announce(const std::string &text)
{
    announcer->announce(QString::fromStdString(text));
}

void TForm4::setTimerEnabled(bool enabled)
{
    Timer1->setEnabled(enabled);
}

void TForm4::setTimerInterval(int milliseconds)
{
    Timer1->setInterval(milliseconds);
}
