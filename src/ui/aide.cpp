// TAide: the tip dialog with its "Ne plus afficher" box.

#include "ui/aide.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <algorithm>

#include "common/digest.h"
#include "common/text.h"
#include "files/settings.h"

namespace casavo {
namespace {

constexpr int kClientWidth = 303;
constexpr int kClientHeight = 161;
constexpr int kGap = 7;
constexpr int kTextWidth = 289;
constexpr int kTextHeight = 113;
// A longer text makes the dialog taller up to this, then scrolls.
constexpr int kMaxClientHeight = 480;

class ModalPresenter : public MessageDialogPresenter {
 public:
  void Run(TfmAide& dialog) override { dialog.exec(); }
};

ModalPresenter modalPresenter;
MessageDialogPresenter* presenter = &modalPresenter;

}  // namespace

std::string AideKey(const QString& text) {
  return "Aide_" + Md5Hex(Utf8ToCp1252(text.toStdString()));
}

TfmAide::TfmAide(QWidget* owner, bool withBox, const QString& text)
    : QDialog(owner),
      Text(new QScrollArea(this)),
      Label1(new QLabel(text)),
      CheckBox1(new QCheckBox(QStringLiteral("Ne plus afficher"), this)),
      Button1(new QPushButton(QStringLiteral("OK"), this)),
      text_(text) {
  setWindowTitle(QStringLiteral("Casavo"));

  QFont labelFont = Label1->font();
  labelFont.setPixelSize(16);
  Label1->setFont(labelFont);
  // Texts come from the service and from users (titles, logins): never markup.
  Label1->setTextFormat(Qt::PlainText);
  Label1->setWordWrap(true);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // A long text makes the dialog taller, up to a height; beyond it, it scrolls.
  const int maxTextHeight = kMaxClientHeight - kClientHeight + kTextHeight;
  const bool fits = Label1->heightForWidth(kTextWidth) <= maxTextHeight;
  const int labelWidth =
      fits ? kTextWidth : kTextWidth - style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  Label1->resize(labelWidth, std::max(kTextHeight, Label1->heightForWidth(labelWidth)));
  const int textHeight = std::min(Label1->height(), maxTextHeight);
  const int clientHeight = kClientHeight + textHeight - kTextHeight;
  setFixedSize(kClientWidth, clientHeight);
  Text->setFrameShape(QFrame::NoFrame);
  Text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Text->setVerticalScrollBarPolicy(fits ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
  Text->viewport()->setAutoFillBackground(false);
  Text->setWidget(Label1);
  Text->setGeometry(kGap, kGap, kTextWidth, textHeight);

  Button1->setDefault(true);
  const QSize button = Button1->sizeHint().expandedTo(QSize(75, 25));
  Button1->setGeometry(kClientWidth - kGap - button.width(), clientHeight - kGap - button.height(),
                       button.width(), button.height());
  const QSize box = CheckBox1->sizeHint();
  CheckBox1->setGeometry(kGap, Button1->geometry().center().y() - box.height() / 2, box.width(),
                         box.height());
  CheckBox1->setHidden(!withBox);
  connect(Button1, &QPushButton::clicked, this, &TfmAide::Button1Click);

  if (const QScreen* where = screen()) move(where->availableGeometry().center() - rect().center());
}

void TfmAide::Button1Click() {
  // A hidden box is never the user's choice, so messages shown without it
  // can never be silenced.
  if (!CheckBox1->isHidden() && CheckBox1->isChecked()) WriteSetting(AideKey(text_), "1");
  accept();
}

void SetMessageDialogPresenter(MessageDialogPresenter* replacement) {
  presenter = replacement ? replacement : &modalPresenter;
}

bool ShowMessageDialog(bool withBox, const QString& text) {
  if (ReadSetting(AideKey(text)) == "1") return false;
  TfmAide dialog(QApplication::activeWindow(), withBox, text);
  presenter->Run(dialog);
  return true;
}

}  // namespace casavo
