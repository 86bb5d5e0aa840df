#include "tform4.h"

#include "announcer.h"
#include "controltable.h"
#include "duetimer.h"
#include "listbox.h"
#include "scaledstyle.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QIcon>
#include <QLabel>
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

TForm4::TForm4(const Clock &clock, SeedSource seeds)
    : style(new ScaledStyle(this))
    , ui(buildControls(this, style))
    , Timer1(new DueTimer(this))
    , announcer(new Announcer(this))
    , drill(*this, clock, std::move(seeds))
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QString::fromUtf8(WindowCaption.data(), WindowCaption.size()));
    setStyle(style);
    setFixedSize(WindowWidth, WindowHeight);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connectControls();
}

// The icon is not needed for the window to appear: decoding it and handing
// it to the window system after the first paint shortens the child's wait.
void TForm4::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    if (std::exchange(iconPending, false))
        QTimer::singleShot(0, this, [this] { setWindowIcon(programIcon()); });
}

void TForm4::closeEvent(QCloseEvent *event)
{
    drill.FormClose();
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

void TForm4::connectControls()
{
    connect(ui.Button[1], &QPushButton::clicked, this, [this] { drill.Button1Click(); });
    connect(ui.Button[2], &QPushButton::clicked, this, [this] { drill.Button2Click(); });
    connect(ui.Button[3], &QPushButton::clicked, this, [this] { drill.Button3Click(); });
    for (int number = 1; number < int(ui.CheckBox.size()); ++number) {
        connect(ui.CheckBox[number], &QCheckBox::toggled, this,
                [this, number](bool checked) { drill.checkBoxChanged(number, checked); });
    }
    for (int number = 1; number < int(ui.RadioButton.size()); ++number) {
        connect(ui.RadioButton[number], &QRadioButton::toggled, this, [this, number](bool checked) {
            if (checked)
                drill.radioButtonChosen(number);
        });
    }
    connect(ui.ListBox1, &ListBox::changed, this, [this] { drill.listItemChosen(ui.ListBox1->itemIndex()); });
    connect(Timer1, &DueTimer::fired, this, [this] { drill.timerFired(); });
}

void TForm4::showLabel(int number, const std::string &text)
{
    ui.Label[number]->setText(QString::fromStdString(text));
}

// The control's own signal reports the new state back; the form takes a
// state it already has as no change.
void TForm4::showCheckBox(int number, bool checked)
{
    ui.CheckBox[number]->setChecked(checked);
}

void TForm4::showRadioButton(int number)
{
    ui.RadioButton[number]->setChecked(true);
}

void TForm4::showListItem(int index)
{
    ui.ListBox1->setItemIndex(index);
}

void TForm4::announce(const std::string &text)
{
    announcer->announce(QString::fromStdString(text));
}

void TForm4::armTimer(std::optional<TimePoint> due)
{
    Timer1->fireAt(due);
}

void TForm4::closeWindow()
{
    close();
}
