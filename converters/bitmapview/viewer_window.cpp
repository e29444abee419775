#include "viewer_window.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "dib_view.h"
#include "vidmetra/converters/tool_icon.h"

namespace vidmetra::converters {

const char* const kDibFilter = "Dib Files (*.bmp *.dib)";

ViewerWindow::ViewerWindow(QWidget* parent) : QMainWindow(parent), area_(new QMdiArea(this)) {
  setWindowTitle("bitmapview");
  setWindowIcon(ToolIcon("bitmapview"));
  area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(area_);
  message_sink_ = [this](const QString& text) { QMessageBox::warning(this, "bitmapview", text); };
  CreateActions();
  statusBar()->showMessage("就绪");
  connect(area_, &QMdiArea::subWindowActivated, this, [this] { UpdateCommands(); });
  UpdateCommands();
}

// The child windows close after this object is gone; their last activation signals must not reach it.
ViewerWindow::~ViewerWindow() { disconnect(area_, nullptr, this, nullptr); }

QAction* ViewerWindow::AddAction(const QString& text, const QString& prompt, const QKeySequence& shortcut,
                                 const std::function<void()>& handler) {
  auto* action = new QAction(text, this);
  action->setStatusTip(prompt);
  action->setShortcut(shortcut);
  connect(action, &QAction::triggered, this, handler);
  return action;
}

void ViewerWindow::CreateActions() {
  QStyle* look = style();
  QAction* open = AddAction("打开(&O)...\tCtrl+O", "打开一个现有文档", QKeySequence::Open, [this] { ChooseAndOpen(); });
  open->setIcon(look->standardIcon(QStyle::SP_DialogOpenButton));
  save_ = AddAction("保存(&S)\tCtrl+S", "用同一文件名保存活动文档", QKeySequence::Save, [this] { Save(); });
  save_->setIcon(look->standardIcon(QStyle::SP_DialogSaveButton));
  save_as_ = AddAction("另存为(&A)...", "用新文件名保存活动文档", QKeySequence(), [this] { ChooseAndSave(); });
  close_ = AddAction("关闭(&C)", "关闭活动文档", QKeySequence(), [this] { area_->closeActiveSubWindow(); });
  QAction* quit = AddAction("退出(&X)", "退出应用程序", QKeySequence(), [this] { close(); });
  QAction* cascade = AddAction("层叠(&C)", "层叠排列窗口", QKeySequence(), [this] { area_->cascadeSubWindows(); });
  QAction* tile = AddAction("平铺(&T)", "平铺排列窗口", QKeySequence(), [this] { area_->tileSubWindows(); });
  QAction* about =
      AddAction("关于 bitmapview(&A)...", "显示程序信息、版本号和版权", QKeySequence(), [this] { ShowAbout(); });
  about->setIcon(look->standardIcon(QStyle::SP_MessageBoxInformation));

  QMenu* file = menuBar()->addMenu("文件(&F)");
  file->addActions({open, save_, save_as_, close_});
  file->addSeparator();
  file->addAction(quit);
  menuBar()->addMenu("窗口(&W)")->addActions({cascade, tile});
  menuBar()->addMenu("帮助(&H)")->addAction(about);

  QToolBar* tools = addToolBar("工具栏");
  tools->setObjectName("tools");
  tools->addActions({open, save_});
  tools->addSeparator();
  tools->addAction(about);
}

bool ViewerWindow::OpenFile(const QString& path) {
  DibDocument document;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool opened = document.Open(path.toStdString());
  QApplication::restoreOverrideCursor();
  if (!opened) {
    message_sink_("无法打开文件 " + path + "：不是可以读取的位图文件。");
    return false;
  }
  auto* view = new DibView(std::move(document));
  QMdiSubWindow* window = area_->addSubWindow(view);
  window->setWindowIcon(windowIcon());
  window->resize(std::min(view->widget()->width() + 40, 900), std::min(view->widget()->height() + 50, 700));
  window->show();
  statusBar()->showMessage("就绪");
  return true;
}

DibView* ViewerWindow::ActiveView() const {
  QMdiSubWindow* window = area_->activeSubWindow();
  if (window == nullptr && !area_->subWindowList().isEmpty()) window = area_->subWindowList().last();
  return window == nullptr ? nullptr : dynamic_cast<DibView*>(window->widget());
}

bool ViewerWindow::SaveActiveAs(const QString& path) {
  DibView* view = ActiveView();
  if (view == nullptr) return false;
  if (!view->Document().SaveAs(path.toStdString())) {
    message_sink_("无法保存文件 " + path + "。");
    return false;
  }
  view->UpdateTitle();
  return true;
}

void ViewerWindow::ChooseAndOpen() {
  const QStringList paths = QFileDialog::getOpenFileNames(this, "打开", QString(), kDibFilter);
  for (const QString& path : paths) OpenFile(path);
}

void ViewerWindow::Save() {
  if (DibView* view = ActiveView()) SaveActiveAs(QString::fromStdString(view->Document().Path()));
}

void ViewerWindow::ChooseAndSave() {
  DibView* view = ActiveView();
  if (view == nullptr) return;
  QFileDialog dialog(this, "另存为", QString::fromStdString(view->Document().Path()), kDibFilter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix("bmp");
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    SaveActiveAs(dialog.selectedFiles().first());
  }
}

void ViewerWindow::ShowAbout() { QMessageBox::about(this, "关于 bitmapview", "bitmapview 1.0 版"); }

void ViewerWindow::UpdateCommands() {
  const bool has_document = ActiveView() != nullptr;
  save_->setEnabled(has_document);
  save_as_->setEnabled(has_document);
  close_->setEnabled(has_document);
}

}  // namespace vidmetra::converters
