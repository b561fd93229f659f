#include "contacts/frmaddresslabels.h"

#include "contacts/labelsheetlayout.h"
#include "core/errorreport.h"
#include "core/program.h"
#include "platform/messagesdb/labelsheetsettings.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/system/graphicsrenderer.h"
#include "platform/system/renderer.h"
#include "platform/ui/commondialogs.h"
#include "platform/ui/dialogservice.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/plainlabel.h"

#include <QAction>
#include <QEvent>
#include <QFont>
#include <QFontMetricsF>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QToolBar>

namespace {
const QColor kNormalColour(255, 255, 255);
const QColor kSelectedColour(204, 228, 255);

OrlixDatabase* database() {
    return Program::Instance().Database();
}
} // namespace

frmAddressLabels::frmAddressLabels(QWidget* owner) : QDialog(owner) {
    setWindowTitle(QStringLiteral("Print Address Labels"));
    setModal(true);
    setFixedSize(TwipsToPixels(kInnerWidth), TwipsToPixels(kInnerHeight));
    QPalette back = palette();
    back.setColor(QPalette::Window, GraphicsRenderer().WindowBackColour());
    setPalette(back);
    setAutoFillBackground(true);

    toolbar_ = new QToolBar(this);
    toolbar_->setGeometry(0, 0, TwipsToPixels(kInnerWidth), TwipsToPixels(kToolbarHeight));
    addButton(QStringLiteral("print"), QStringLiteral("Print"), QStringLiteral("Print the Labels"));
    toolbar_->addSeparator()->setObjectName(QStringLiteral("pagesetupsep"));
    addButton(QStringLiteral("printsetup"), QStringLiteral("Setup"),
              QStringLiteral("Setup the Print Labels"));
    addButton(QStringLiteral("clear"), QStringLiteral("Clear"), QStringLiteral("Clear all Labels"));
    addButton(QStringLiteral("selectall"), QStringLiteral("Select All"),
              QStringLiteral("Select All Labels"));
    addButton(QStringLiteral("deselectall"), QStringLiteral("De-Select All"),
              QStringLiteral("De-Select All Labels"));
    addButton(QStringLiteral("edit"), QStringLiteral("Edit"),
              QStringLiteral("Edit the selected labels"));
    Button(QStringLiteral("edit"))->setCheckable(true);

    txtEdit_ = new QPlainTextEdit(this);
    txtEdit_->hide();
    txtEdit_->installEventFilter(this);
    connect(txtEdit_, &QPlainTextEdit::textChanged, this, &frmAddressLabels::editChanged);
}

frmAddressLabels::~frmAddressLabels() = default;

void frmAddressLabels::PrintAddresses(const QString& address, bool /*bAll*/, QWidget* parentForm) {
    DialogInstance<frmAddressLabels> sheet(parentForm);
    sheet->SetAddress(address);
    RunDialog(*sheet.get());
}

void frmAddressLabels::addButton(const QString& key, const QString& text, const QString& tip) {
    QAction* action = toolbar_->addAction(text);
    action->setObjectName(key);
    action->setToolTip(tip);
    connect(action, &QAction::triggered, this, [this, key] { toolbarClicked(key); });
}

QAction* frmAddressLabels::Button(const QString& key) const {
    for (QAction* action : toolbar_->actions()) {
        if (action->objectName().compare(key, Qt::CaseInsensitive) == 0) {
            return action;
        }
    }
    return nullptr;
}

const LabelSheetSettings& frmAddressLabels::settings() const {
    static const LabelSheetSettings defaults;
    OrlixDatabase* db = database();
    return db != nullptr ? db->LabelSheetSettings() : defaults;
}

int frmAddressLabels::GridSlots() const {
    const LabelSheetSettings& s = settings();
    return s.LabelsAcross() * s.LabelsDown();
}

void frmAddressLabels::SetAddress(const QString& address) {
    sAddress_ = address;
    LayoutLabelSheet(true);
}

void frmAddressLabels::LayoutLabelSheet(bool fillAll) {
    const LabelSheetSettings& s = settings();
    const auto layout = LabelSheetLayout::Layout(QSize(kInnerWidth, kInnerHeight), kToolbarHeight,
                                                 s.LabelsAcross(), s.LabelsDown());
    for (size_t i = 0; i < layout.size(); ++i) {
        if (i >= slots_.size()) {
            LabelSlot slot;
            slot.panel = new QFrame(this); // owned by the sheet
            slot.panel->setFrameShape(QFrame::Box);
            slot.panel->setAutoFillBackground(true);
            QPalette white = slot.panel->palette();
            white.setColor(QPalette::Window, kNormalColour);
            slot.panel->setPalette(white);
            slot.caption = PlainLabel::Create(this, "pnlCaption", Qt::NoTextInteraction);
            slot.caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            slot.caption->setWordWrap(false);
            slot.caption->setText(sAddress_);
            slot.panel->installEventFilter(this);
            slot.caption->installEventFilter(this);
            slots_.push_back(slot);
        }
        LabelSlot& slot = slots_[i];
        slot.panel->setGeometry(layout[i].label.toPixels());
        slot.caption->setGeometry(layout[i].caption.toPixels());
        slot.panel->show();
        slot.caption->show();
        slot.caption->raise();
        paintSlot(slot);
    }
    for (size_t i = layout.size(); i < slots_.size(); ++i) {
        slots_[i].panel->hide();
        slots_[i].caption->hide();
    }
    for (LabelSlot& slot : slots_) {
        if (fillAll || slot.selected) {
            slot.caption->setText(sAddress_);
        }
    }
    txtEdit_->raise();
}

QFrame* frmAddressLabels::LabelPanel(int n) const {
    return n >= 1 && n <= SlotCount() ? slots_[static_cast<size_t>(n - 1)].panel : nullptr;
}
QLabel* frmAddressLabels::CaptionPanel(int n) const {
    return n >= 1 && n <= SlotCount() ? slots_[static_cast<size_t>(n - 1)].caption : nullptr;
}
QString frmAddressLabels::Caption(int n) const {
    const QLabel* caption = CaptionPanel(n);
    return caption != nullptr ? caption->text() : QString();
}
bool frmAddressLabels::Selected(int n) const {
    return n >= 1 && n <= SlotCount() && slots_[static_cast<size_t>(n - 1)].selected;
}
bool frmAddressLabels::EditMarked(int n) const {
    return n >= 1 && n <= SlotCount() && slots_[static_cast<size_t>(n - 1)].marked;
}

void frmAddressLabels::paintSlot(const LabelSlot& slot) {
    const QColor back = slot.selected ? kSelectedColour : kNormalColour;
    slot.caption->setStyleSheet(
        QStringLiteral("QLabel { background-color: %1; border: %2; }")
            .arg(back.name(), slot.marked ? QStringLiteral("1px dashed #000000")
                                          : QStringLiteral("1px solid transparent")));
}

void frmAddressLabels::setSelected(LabelSlot& slot, bool selected) {
    slot.selected = selected;
    paintSlot(slot);
}

void frmAddressLabels::ClickLabel(int n) {
    if (n < 1 || n > SlotCount()) {
        return;
    }
    endEditing();
    LabelSlot& slot = slots_[static_cast<size_t>(n - 1)];
    setSelected(slot, !slot.selected);
}

bool frmAddressLabels::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        for (int n = 1; n <= SlotCount(); ++n) {
            const LabelSlot& slot = slots_[static_cast<size_t>(n - 1)];
            if (watched == slot.panel || watched == slot.caption) {
                ClickLabel(n);
                return true;
            }
        }
    }
    if (watched == txtEdit_ && event->type() == QEvent::FocusOut) {
        endEditing();
    }
    return QDialog::eventFilter(watched, event);
}

void frmAddressLabels::toolbarClicked(const QString& key) {
    if (busy_) {
        return;
    }
    busy_ = true;
    try {
        if (key == QLatin1String("print")) {
            PrintSelectedLabels();
        } else if (key == QLatin1String("printsetup")) {
            printSetup();
        } else if (key == QLatin1String("clear")) {
            endEditing();
            for (LabelSlot& slot : slots_) {
                slot.caption->clear();
            }
        } else if (key == QLatin1String("selectall")) {
            for (int n = 1; n <= std::min(SlotCount(), GridSlots()); ++n) {
                setSelected(slots_[static_cast<size_t>(n - 1)], true);
            }
        } else if (key == QLatin1String("deselectall")) {
            for (LabelSlot& slot : slots_) {
                setSelected(slot, false);
            }
        } else if (key == QLatin1String("edit")) {
            if (Button(key)->isChecked()) {
                startEditing();
            } else {
                endEditing();
            }
        }
    } catch (const std::exception& e) {
        ShowProblem(QStringLiteral("using the address labels"), QString::fromUtf8(e.what()));
    }
    busy_ = false;
}

void frmAddressLabels::printSetup() {
    OrlixDatabase* db = database();
    if (db == nullptr) {
        return;
    }
    endEditing();
    db->LabelSheetSettings().ShowSetupDialog(this);
    LayoutLabelSheet(false);
    bool ok = false;
    db->StoreLabelSheetSettings(ok);
}

void frmAddressLabels::startEditing() {
    const int grid = std::min(SlotCount(), GridSlots());
    int first = 0;
    for (int n = 1; n <= grid; ++n) {
        LabelSlot& slot = slots_[static_cast<size_t>(n - 1)];
        if (slot.selected) {
            slot.marked = true;
            paintSlot(slot);
            if (first == 0) {
                first = n;
            }
        }
    }
    QAction* edit = Button(QStringLiteral("edit"));
    if (first == 0) {
        MsgBox(QStringLiteral("You must select at least one label"), MsgIcon::Exclamation,
               MsgButtons::OK, 0, this);
        const QSignalBlocker quiet(edit);
        edit->setChecked(false);
        return;
    }
    editing_ = true;
    const QRect label = slots_[static_cast<size_t>(first - 1)].panel->geometry();
    const int gap = TwipsToPixels(LabelSheetLayout::kGap);
    const int inset = TwipsToPixels(120);
    txtEdit_->setGeometry(label.left() + gap, label.top() + gap, label.width() - inset,
                          label.height() - inset);
    {
        const QSignalBlocker quiet(txtEdit_);
        txtEdit_->setPlainText(Caption(first));
    }
    editChanged();
    txtEdit_->show();
    txtEdit_->raise();
    txtEdit_->setFocus();
}

void frmAddressLabels::editChanged() {
    if (!editing_) {
        return;
    }
    const QString text = txtEdit_->toPlainText();
    const int grid = std::min(SlotCount(), GridSlots());
    for (int n = 1; n <= grid; ++n) {
        if (slots_[static_cast<size_t>(n - 1)].selected) {
            slots_[static_cast<size_t>(n - 1)].caption->setText(text);
        }
    }
}

void frmAddressLabels::endEditing() {
    if (!editing_) {
        return;
    }
    editing_ = false;
    QAction* edit = Button(QStringLiteral("edit"));
    {
        const QSignalBlocker quiet(edit);
        edit->setChecked(false);
    }
    txtEdit_->hide();
    for (LabelSlot& slot : slots_) {
        slot.marked = false;
        paintSlot(slot);
    }
}

void frmAddressLabels::PrintSelectedLabels() {
    const int grid = std::min(SlotCount(), GridSlots());
    std::vector<int> chosen;
    for (int n = 1; n <= grid; ++n) {
        if (slots_[static_cast<size_t>(n - 1)].selected) {
            chosen.push_back(n);
        }
    }
    if (chosen.empty()) {
        MsgBox(QStringLiteral("You must select at least one label to print!"), MsgIcon::Exclamation,
               MsgButtons::OK, 0, this);
        return;
    }
    endEditing();
    QPrinter printer(QPrinter::HighResolution);
    PrintDialogRequest request;
    request.owner = this;
    request.allowPageNumbers = false;
    if (!CommonDialogs().askPrint(printer, request)) {
        return;
    }
    // Label packs give their margins from the paper's edge.
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer)) {
        ShowProblem(QStringLiteral("printing your labels"),
                    QStringLiteral("the printer could not start the document"));
        return;
    }
    QFont font(QStringLiteral("Arial"), 12, QFont::Bold);
    painter.setFont(font);
    const QFontMetricsF metrics(painter.font(), &printer);
    const double dotsPerMm = printer.resolution() / 25.4;
    const LabelSheetSettings& s = settings();
    for (int n : chosen) {
        const QPointF at = LabelSheetLayout::PrintPosition(n, s) * dotsPerMm;
        double top = at.y();
        for (const QString& line : LabelSheetLayout::PrintLines(Caption(n))) {
            painter.drawText(QPointF(at.x(), top + metrics.ascent()), line);
            top += metrics.lineSpacing();
        }
    }
    if (!painter.end()) {
        ShowProblem(QStringLiteral("printing your labels"),
                    QStringLiteral("the printer could not finish the document"));
        return;
    }
    const QString device =
        printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
    MsgBox(QStringLiteral("Your address labels have been printed on: ") + device,
           MsgIcon::Information, MsgButtons::OK, 0, this);
}
