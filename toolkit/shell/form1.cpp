#include "form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTimer>
#include <utility>

#include "common/text/settings_file.h"
#include "kit/program.h"
#include "kit/reentry.h"
#include "kit/twips.h"
#include "kit/ui.h"
#include "tools/auto_generate_panel.h"
#include "tools/change_assignment_panel.h"
#include "tools/change_room_number_panel.h"
#include "tools/change_sort_field_panel.h"
#include "tools/cleanup_panel.h"
#include "tools/combine_rooms_panel.h"
#include "tools/copy_inventory_panel.h"
#include "tools/modify_room_data_panel.h"

namespace roomkit {

const std::array<const char*, 8> functionNames = {
    "Change Room Number",  "Modify Room Data",  "Copy Room Inventory (Templates)",
    "Auto Generate Rooms", "Database Cleanup",  "Change Assignment Number",
    "Combine Rooms",       "Change Sort Fields"};

namespace {
constexpr int formWidth = 8040;     // twips
constexpr int panelsHeight = 7215;  // the window as the panels need it
constexpr int undoStrip = 480;      // the strip below them, for the undo button
constexpr int formHeight = panelsHeight + undoStrip;
}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent) {
  setObjectName("Form1");
  setWindowTitle("Velmora - Corvane Database Toolkit");
  setWindowIcon(programIcon());
  setFixedSize(px(formWidth), px(formHeight));
  buildTop();
  buildPanels();
  buildUndo();
  Form_Load();
}

Form1::~Form1() { closeDatabase(); }

void Form1::buildTop() {
  Label2 = new QLabel(this);
  Label2->setObjectName("Label2");
  Label2->setAutoFillBackground(true);
  QPalette band = Label2->palette();
  band.setColor(QPalette::Window, band.color(QPalette::Window).darker(108));
  Label2->setPalette(band);
  place(Label2, 0, 0, formWidth, 975);

  Image2 = new QLabel(this);
  Image2->setObjectName("Image2");
  Image2->setPixmap(programIcon().pixmap(px(720), px(720)));
  place(Image2, 360, 135, 720, 720);

  Label1 = new QLabel("Select Corvane Database", this);
  Label1->setObjectName("Label1");
  place(Label1, 1680, 210, 4500, 255);

  Text1 = new TextBox("Text1", this);
  Text1->upperCase = true;
  Text1->selectAllOnFocus = true;
  place(Text1, 1680, 480, 5775, 285);

  Text9 = new TextBox("Text9", this);
  Text9->setReadOnly(true);
  place(Text9, 4920, 480, 2535, 285);
  Text9->hide();

  Command2 = new QPushButton("...", this);
  Command2->setObjectName("Command2");
  place(Command2, 7515, 480, 285, 285);
  connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);

  Line1 = new QFrame(this);
  Line1->setObjectName("Line1");
  Line1->setFrameShape(QFrame::HLine);
  Line1->setFrameShadow(QFrame::Sunken);
  place(Line1, 0, 960, formWidth, 30);

  Label3 = new QLabel("Select Function", this);
  Label3->setObjectName("Label3");
  place(Label3, 240, 1095, 1455, 255);
  Combo1 = new QComboBox(this);
  Combo1->setObjectName("Combo1");
  place(Combo1, 1695, 1050, 6120, 330);
  Combo1->setEnabled(false);
  connect(Combo1, qOverload<int>(&QComboBox::activated), this, [this] { Combo1_Click(); });
}

void Form1::buildPanels() {
  Frame1 = new ChangeRoomNumberPanel(*this, this);
  Frame2 = new ModifyRoomDataPanel(*this, this);
  Frame3 = new CopyInventoryPanel(*this, this);
  Frame4 = new AutoGeneratePanel(*this, this);
  Frame8 = new CleanupPanel(*this, this);
  Frame9 = new ChangeAssignmentPanel(*this, this);
  Frame10 = new CombineRoomsPanel(*this, this);
  Frame11 = new ChangeSortFieldPanel(*this, this);
  panels = {Frame1, Frame2, Frame3, Frame4, Frame8, Frame9, Frame10, Frame11};
}

void Form1::buildUndo() {
  LineUndo = new QFrame(this);
  LineUndo->setObjectName("LineUndo");
  LineUndo->setFrameShape(QFrame::HLine);
  LineUndo->setFrameShadow(QFrame::Sunken);
  place(LineUndo, 0, panelsHeight, formWidth, 30);
  // The strip's buttons act on the loaded database, so they wait for one.
  const auto button = [this](const char* caption, const char* name, const char* tip, int left,
                             int width, void (Form1::*handler)()) {
    auto* made = new QPushButton(caption, this);
    made->setObjectName(name);
    made->setToolTip(tip);
    made->setAutoDefault(false);
    made->setEnabled(false);
    place(made, left, panelsHeight + 75, width, 345);
    connect(made, &QPushButton::clicked, this, handler);
    return made;
  };
  CommandUndo = button("Undo Last Run...", "CommandUndo",
                       "Undoes the newest run of a function on the database (Ctrl+Z)", 120, 2160,
                       &Form1::CommandUndo_Click);
  CommandCheck = button("Check Database...", "CommandCheck",
                        "Lists what the loaded database holds half done, and mends it on request",
                        2400, 2160, &Form1::CommandCheck_Click);
  CommandHistory = button("History...", "CommandHistory",
                          "Lists the runs of the functions on the loaded database", 4680, 1440,
                          &Form1::CommandHistory_Click);
  // Ctrl+Z undoes a run wherever the focus is in the window, a text box included.
  qApp->installEventFilter(this);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if ((type == QEvent::ShortcutOverride || type == QEvent::KeyPress) && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == this) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Z && key->modifiers() == Qt::ControlModifier) {
      if (type == QEvent::KeyPress) CommandUndo_Click();
      event->accept();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

QWidget* Form1::panelAt(int position) {
  return position >= 0 && position < 8 ? panels[static_cast<std::size_t>(position)] : nullptr;
}

QString Form1::databasePath() const { return Text1->text(); }

void Form1::focusDatabasePath() { Text1->setFocus(); }

// Start-up: a missing or unreadable settings file leaves its value at the default.
void Form1::Form_Load() {
  ui().setBusy(true);
  Combo1->clear();
  for (const char* name : functionNames) Combo1->addItem(name);
  Combo1->setCurrentIndex(-1);

  ProgramValues& values = program();
  const QString folder = programFolder();
  if (isHostedFolder(folder)) {
    Text1->setEnabled(false);
    Text1->hide();
    Text9->show();
    if (auto user = suite::readFirstSettingsField(programFile("jox.usr").toStdString())) {
      values.CurrentUserID = QString::fromStdString(*user);
    }
    values.DataRootPath = hostedDataRoot(folder);
  } else {
    Text1->setEnabled(true);
    Text1->show();
    Text9->hide();
    LastDirectory.clear();
    if (auto last = suite::readFirstSettingsField(programFile("lastdir.ini").toStdString())) {
      LastDirectory = QString::fromStdString(*last);
    }
    values.DataRootPath.clear();
    values.CurrentUserID.clear();
  }

  LastFunctionIndex = -1;
  if (auto last = suite::readFirstSettingsField(programFile("lastopt.ini").toStdString())) {
    bool ok = false;
    const int number = QString::fromStdString(*last).toInt(&ok);
    if (ok && number >= -32768 && number <= 32767) LastFunctionIndex = static_cast<qint16>(number);
  }

  Frame4->aaCombo1->clear();
  for (int i = 1; i <= 100; ++i) Frame4->aaCombo1->addItem(QString::number(i));
  Frame4->aaCombo1->setCurrentIndex(0);
}

void Form1::startShown() {
  show();
  activateWindow();
  QTimer::singleShot(0, this, [this] { Form_Activate(); });
}

// The window system may activate the window again while the warning is open (its box runs an
// event loop of its own); those activations find the warning open and show nothing.
void Form1::Form_Activate() {
  ui().setBusy(false);
  if (activatedOnce || ended_) return;
  const Reentry warning(warningOpen_);
  if (!warning.entered()) return;
  if (program().DataRootPath.isEmpty()) {
    const bool go = ask(
        "Please be sure to backup any database you plan to modify with this program, as it will "
        "perform irreversible changes.\r\nDo you wish to continue?",
        "WARNING", Answer::No, Icon::Exclamation);
    if (!go) {
      ended_ = true;
      ui().endProgram();
      return;
    }
  }
  activatedOnce = true;
  const QString file = std::exchange(startFile_, QString());
  if (file.isEmpty()) return;
  if (!program().DataRootPath.isEmpty()) {
    tell("The database " + file +
             " named at start is not opened: here the building is chosen "
             "from the list of your buildings.",
         {}, Icon::Information);
    return;
  }
  Text1->setText(QFileInfo(file).absoluteFilePath());
  LoadCurrentDB();
}

bool Form1::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) Form_Activate();
  return QWidget::event(event);
}

void Form1::closeEvent(QCloseEvent* event) {
  Form_Unload();
  event->accept();
}

void Form1::closeDatabase() {
  for (QPushButton* button : {CommandUndo, CommandCheck, CommandHistory}) button->setEnabled(false);
  tables_ = OpenTables{};
  currentDB_.close();
}

// Closing: every failing step is skipped.
void Form1::Form_Unload() {
  if (ended_ || unloaded_) return;
  unloaded_ = true;
  ui().setBusy(true);
  closeDatabase();

  const QString path = Text1->text();
  if (!path.trimmed().isEmpty()) {
    const int p = path.toUpper().indexOf("JOX_") + 1;  // 1-based, 0 when absent
    if (p > 1) LastDirectory = path.left(p - 2);
    suite::writeSettingsLine(programFile("lastdir.ini").toStdString(), LastDirectory.toStdString());
  }
  if (Combo1->currentIndex() >= 0) {
    suite::writeSettingsLine(programFile("lastopt.ini").toStdString(),
                             std::to_string(Combo1->currentIndex()));
  }
  ui().setBusy(false);
}

}  // namespace roomkit
