#include "auto_generate_panel.h"

#include <QStyle>

namespace roomkit {

AutoGeneratePanel::AutoGeneratePanel(ShellContext& shell, QWidget* parent)
    : ToolPanel(shell, "Frame4", "Auto Generate Rooms", parent) {
  Frame7 = new QGroupBox("Starting Room Number", this);
  Frame7->setObjectName("Frame7");
  place(Frame7, 240, 300, 3615, 1095);
  Frame5 = new QGroupBox("Ending Room Number", this);
  Frame5->setObjectName("Frame5");
  place(Frame5, 3960, 300, 3495, 1095);
  for (int i = 0; i < 8; ++i) {
    aaText1[i] = new TextBox(QString("aaText1(%1)").arg(i), Frame7);
    place(aaText1[i], 165 + i * 420, 300, 330, 375);
    aaText1[i]->setAlignment(Qt::AlignCenter);
    aaCheck1[i] = new QCheckBox(Frame7);
    aaCheck1[i]->setObjectName(QString("aaCheck1(%1)").arg(i));
    place(aaCheck1[i], 210 + i * 420, 720, 285, 255);
    aaText2[i] = new TextBox(QString("aaText2(%1)").arg(i), Frame5);
    place(aaText2[i], 105 + i * 420, 300, 330, 375);
    aaText2[i]->setAlignment(Qt::AlignCenter);
  }

  Frame6 = new QGroupBox(this);
  Frame6->setObjectName("Frame6");
  place(Frame6, 240, 1500, 7215, 735);
  auto* increment = new QLabel("Increment", Frame6);
  place(increment, 120, 240, 900, 255);
  aaCombo1 = new QComboBox(Frame6);
  aaCombo1->setObjectName("aaCombo1");
  aaCombo1->setEditable(true);
  place(aaCombo1, 1020, 195, 960, 330);
  auto* schedule = new QLabel("Schedule", Frame6);
  place(schedule, 2280, 240, 855, 255);
  aaText3 = new TextBox("aaText3", Frame6);
  aaText3->setMaxLength(6);
  place(aaText3, 3135, 195, 1095, 330);
  CSCmd2 = new QToolButton(Frame6);
  CSCmd2->setObjectName("CSCmd2");
  CSCmd2->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
  CSCmd2->setToolTip("Choose a cleaning schedule");
  place(CSCmd2, 4290, 180, 375, 375);

  aaList1 = new QListWidget(this);
  aaList1->setObjectName("aaList1");
  aaList1->setUniformItemSizes(true);
  place(aaList1, 240, 2400, 5415, 2895);
  aaCommand1 = new QPushButton("Generate", this);
  aaCommand1->setObjectName("aaCommand1");
  aaCommand1->setToolTip("Create room numbers...");
  place(aaCommand1, 5880, 2400, 1575, 420);
  aaCommand2 = new QPushButton("Update", this);
  aaCommand2->setObjectName("aaCommand2");
  aaCommand2->setToolTip("Add room numbers to JOX Corvane database...");
  place(aaCommand2, 5880, 2940, 1575, 420);
}

}  // namespace roomkit
