#include "app/about_box.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/qt_text.h"

namespace quorvane {

namespace {

constexpr int kIconSize = 80;

// The program's icon: a map grid under a picture frame, drawn rather than
// shipped so that it scales cleanly.
QPixmap ProgramIconPixmap() {
  QPixmap pixmap(kIconSize, kIconSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF frame(6, 6, kIconSize - 12, kIconSize - 12);
  painter.setPen(QPen(QColor(0, 0, 128), 3));
  painter.setBrush(QColor(200, 225, 255));
  painter.drawRoundedRect(frame, 6, 6);
  painter.setPen(QPen(QColor(0, 90, 160), 1));
  for (int i = 1; i < 4; ++i) {
    const double step = frame.width() * i / 4;
    painter.drawLine(QPointF(frame.left() + step, frame.top()),
                     QPointF(frame.left() + step, frame.bottom()));
    painter.drawLine(QPointF(frame.left(), frame.top() + step),
                     QPointF(frame.right(), frame.top() + step));
  }
  painter.setPen(QPen(QColor(0, 128, 0), 4));
  painter.drawLine(QPointF(frame.left() + 8, frame.bottom() - 10),
                   QPointF(frame.right() - 8, frame.top() + 12));
  return pixmap;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, const char* name) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
}

void Emphasise(QLabel* label, const QColor& colour, int point_size = 0) {
  QFont font = label->font();
  font.setBold(true);
  if (point_size > 0) font.setPointSize(point_size);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
}

}  // namespace

std::optional<TFileDate> ProgramFileDate() {
  return FileModificationDate(QCoreApplication::applicationFilePath().toStdString());
}

TAboutBox::TAboutBox(QWidget* parent, const std::optional<TFileDate>& date) : QDialog(parent) {
  setObjectName("AboutBox");
  setWindowTitle(kAboutCaption);
  const TFileDate shown = date.value_or(TodayDate());

  auto* panel = new QFrame(this);
  panel->setObjectName("Panel1");
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setFrameShadow(QFrame::Sunken);
  panel->setAutoFillBackground(true);
  QPalette grey = panel->palette();
  grey.setColor(QPalette::Window, QColor(192, 192, 192));
  panel->setPalette(grey);

  auto* icon = MakeLabel(panel, {}, "ProgramIcon");
  icon->setPixmap(ProgramIconPixmap());
  icon->setFixedSize(kIconSize, kIconSize);
  icon->setScaledContents(true);
  auto* product = MakeLabel(panel, kAboutProductName, "ProductName");
  product->setFont(QFont("Arial"));
  Emphasise(product, Qt::blue, 20);
  auto* comments = MakeLabel(panel, kAboutComments, "Comments");
  auto* version = MakeLabel(panel, FromStd(AboutVersionText(shown)), "VersionLabel");
  auto* copyright = MakeLabel(panel, FromStd(AboutCopyrightText(shown)), "CopyrightLabel");
  for (QLabel* label : {version, copyright}) {
    Emphasise(label, QColor(0, 0, 128));
    label->setAlignment(Qt::AlignCenter);
  }
  auto* publisher = MakeLabel(panel, kAboutPublisher, "PublisherLabel");
  auto* web = MakeLabel(panel, kAboutWebAddress, "WebLabel");

  auto* grid = new QGridLayout(panel);
  grid->addWidget(icon, 0, 0, 2, 1);
  grid->addWidget(product, 0, 1);
  grid->addWidget(comments, 1, 1);
  grid->addWidget(version, 2, 0, 1, 2);
  grid->addWidget(copyright, 3, 0, 1, 2);
  grid->addWidget(publisher, 4, 0, 1, 2);
  grid->addWidget(web, 5, 0, 1, 2);

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("OKButton");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(panel);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace quorvane
