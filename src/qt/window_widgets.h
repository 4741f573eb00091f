#pragma once
// Inside the window: the kinds of widget it is made of and the small conversions between the form
// model and Qt, shared by the files of MainWindow (widgets, keys and menus, events, placement,
// applying the model).
#include <QAbstractListModel>
#include <QCheckBox>
#include <QColor>
#include <QListView>
#include <QProxyStyle>
#include <QPushButton>
#include <QString>
#include <QStyledItemDelegate>
#include <QWidget>
#include <optional>
#include <string>

#include "form/control.h"

class QKeyEvent;

namespace qt {

inline constexpr const char* kListDragFormat = "application/x-zorvel-list-entry";

inline QString q(const std::string& s) { return QString::fromStdString(s); }

inline QColor toQColor(form::Color c) { return QColor((c >> 16) & 0xff, (c >> 8) & 0xff, c & 0xff); }

// Captions and texts keep their line breaks as CR LF; Qt wants LF.
inline QString display(const std::string& s) { return q(s).replace("\r\n", "\n").replace('\r', '\n'); }
inline std::string stored(const QString& s) { return QString(s).replace("\n", "\r\n").toStdString(); }

Qt::Alignment toQt(form::Align a);

inline bool isPageFrame(const form::Control& c) { return c.kind() == form::Kind::Frame && c.parent().empty(); }

// Kinds drawn on their container rather than being windows of their own; the windowed kinds stack
// above them, whatever the creation order.
inline bool isGraphical(form::Kind k) {
  return k == form::Kind::Label || k == form::Kind::Shape || k == form::Kind::Image;
}

// The keys a control hands to the core instead of to its widget: the date keys of the date
// selector, Delete on the day's lists, Enter on the registered items.
std::optional<std::string> controlKey(const std::string& name, const QKeyEvent& ke);

// Long entries lose the end of their name, never the calories or count after " _ ".
class EntryElideDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// A list box's entries as the view asks for them, read from the form model: a list of a million
// notes makes no million Qt items. The view is told of every change by applyList. A long entry is
// cut short on screen, so its whole text is also its tooltip.
class EntryListModel : public QAbstractListModel {
 public:
  EntryListModel(const form::Control& c, QObject* parent) : QAbstractListModel(parent), c_(c) {}
  int rowCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : rows_; }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    const std::vector<std::string>& items = c_.items();
    const int row = index.row();
    if (!index.isValid() || row >= rows_ || row >= static_cast<int>(items.size())) return {};
    return q(items[static_cast<size_t>(row)]);
  }
  // Entries added after the ones shown, or every entry anew.
  void append(int rows) {
    if (rows <= rows_) return;
    beginInsertRows(QModelIndex(), rows_, rows - 1);
    rows_ = rows;
    endInsertRows();
  }
  void reset(int rows) {
    beginResetModel();
    rows_ = rows;
    endResetModel();
  }

 private:
  const form::Control& c_;
  int rows_ = 0;
};

inline EntryListModel& entriesOf(const QListView& list) { return *static_cast<EntryListModel*>(list.model()); }

// Bar shapes: a filled box with a thin border.
class ShapeWidget : public QWidget {
 public:
  using QWidget::QWidget;
  void setFill(QColor c);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  QColor fill_ = Qt::black;
};

// Images: one of the program's own pictures, on a transparent background.
class PictureWidget : public QWidget {
 public:
  using QWidget::QWidget;
  void setPicture(const std::string& name);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  std::string picture_;
};

// Buttons; an outlined one (today's calendar day) gets a strong red frame over the usual face.
class ButtonWidget : public QPushButton {
 public:
  using QPushButton::QPushButton;
  void setOutlined(bool on);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool outlined_ = false;
};

// The check and option marks grow and shrink with the layout, as the text beside them does.
class IndicatorStyle : public QProxyStyle {
 public:
  explicit IndicatorStyle(const QString& base) : QProxyStyle(base) {}
  void setScale(double scale) { scale_ = scale; }
  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override;

 private:
  double scale_ = 1.0;
};

// The text colour to draw on `back`: `text` itself when it reads well enough (contrast 4.5:1),
// else `text` moved towards black or white until it does.
QColor readableOn(QColor text, QColor back);

// Check boxes; one with a picture is drawn as a toggle button showing it (pressed while checked).
class PictureCheckBox : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;
  void setPicture(const std::string& name);

 protected:
  bool hitButton(const QPoint& pos) const override;
  void paintEvent(QPaintEvent* event) override;

 private:
  std::string picture_;
};

}  // namespace qt
