// The reference for the window benchmark: a bare Qt window with what the diary's window shows at
// the least on a full diary, a 3001-point line chart and a 731x4 table, started the way the
// program starts (style, font, offscreen platform from the caller). It quits once its first frame
// is painted and prints "first-frame-ms N", the time since main() began.
//   window_bare [WxH]      (800x600 unless given)
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineSeries>
#include <QMainWindow>
#include <QTableWidget>
#include <QTimer>
#include <QValueAxis>
#include <cmath>
#include <cstdio>

#include "qt/first_frame.h"

int main(int argc, char** argv) {
  QElapsedTimer since;
  since.start();
  QApplication app(argc, argv);
  QApplication::setStyle("Fusion");
  QFont font("Noto Sans CJK JP", 9);
  font.setStyleHint(QFont::SansSerif);
  QApplication::setFont(font);

  QMainWindow window;
  auto* central = new QWidget(&window);
  auto* layout = new QHBoxLayout(central);

  auto* series = new QLineSeries;
  for (int i = 0; i < 3001; ++i) series->append(i, 60.0 + 5.0 * std::sin(i / 50.0));
  auto* chart = new QChart;
  chart->addSeries(series);
  auto* x = new QValueAxis;
  auto* y = new QValueAxis;
  x->setRange(0, 3000);
  y->setRange(54, 66);
  chart->addAxis(x, Qt::AlignBottom);
  chart->addAxis(y, Qt::AlignLeft);
  series->attachAxis(x);
  series->attachAxis(y);
  auto* view = new QChartView(chart);
  view->setRenderHint(QPainter::Antialiasing);
  layout->addWidget(view, 2);

  auto* table = new QTableWidget(731, 4);
  table->verticalHeader()->setVisible(false);
  for (int col = 0; col < 4; ++col) table->setHorizontalHeaderItem(col, new QTableWidgetItem(QString("列%1").arg(col)));
  for (int row = 0; row < 731; ++row)
    for (int col = 0; col < 4; ++col)
      table->setItem(row, col, new QTableWidgetItem(QString::number(60.0 + (row * 7 + col) % 100 / 10.0, 'f', 1)));
  layout->addWidget(table, 1);

  window.setCentralWidget(central);
  int width = 800, height = 600;
  if (argc > 1 && std::sscanf(argv[1], "%dx%d", &width, &height) != 2) return 2;
  window.resize(width, height);
  qt::FirstFrame first(window, since);
  app.installEventFilter(&first);
  window.show();
  return app.exec();
}
