// The dialogs and the viewer window, driven as a user would, on the offscreen platform.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QValidator>

#include "bitmapgroup.h"
#include "bitmappack.h"
#include "bitmapreel.h"
#include "bitmapzone.h"
#include "converter_fixtures.h"
#include "dib_view.h"
#include "grouppack.h"
#include "packfidelity.h"
#include "packreel.h"
#include "packtrim.h"
#include "planepack.h"
#include "planeunpack.h"
#include "support/byte_files.h"
#include "support/ffmpeg_tool.h"
#include "support/temp_dir.h"
#include "triplepack.h"
#include "vidmetra/avi_container.h"
#include "vidmetra/converters/dib_file.h"
#include "vidmetra/converters/tool_dialog.h"
#include "viewer_window.h"

namespace vidmetra::converters {
namespace {

QStringList Texts(const QWidget& parent) {
  QStringList texts;
  for (const QLabel* label : parent.findChildren<QLabel*>()) texts << label->text();
  for (const QAction* action : parent.findChildren<QAction*>()) texts << action->text();
  for (const QMenu* menu : parent.findChildren<QMenu*>()) texts << menu->title();
  return texts;
}

QLineEdit* Edit(const QWidget& parent, const char* key) {
  auto* edit = parent.findChild<QLineEdit*>(key);
  EXPECT_NE(edit, nullptr) << key;
  return edit;
}

// Every tool's dialog has a widget for each of its fields with the field's label, hint and browse button, and
// its action reports one message: with the sizes still 0, the refusal of the size.
TEST(ToolDialog, EveryToolsDialogHasEachFieldAndReportsOneMessage) {
  for (const ToolDescription& tool :
       {PlanePackTool(), TriplePackTool(), BitmapPackTool(), GroupPackTool(), PackTrimTool(), PackReelTool(),
        PlaneUnpackTool(), PackFidelityTool(), BitmapReelTool(), BitmapGroupTool(), BitmapZoneTool()}) {
    SCOPED_TRACE(tool.name);
    ToolDialog dialog(tool);
    QStringList messages;
    dialog.SetMessageSink([&](const QString& text) { messages << text; });
    dialog.show();
    const QStringList texts = Texts(dialog);
    for (const FieldSpec& field : tool.fields) {
      const QString key = QString::fromStdString(field.key), label = QString::fromStdString(field.label);
      switch (field.kind) {
        case FieldKind::kNote:
          EXPECT_TRUE(texts.contains(label)) << field.label;
          break;
        case FieldKind::kFlag:
          ASSERT_NE(dialog.findChild<QCheckBox*>(key), nullptr) << field.key;
          EXPECT_EQ(dialog.findChild<QCheckBox*>(key)->text(), label);
          break;
        case FieldKind::kSetButton:
          EXPECT_NE(dialog.findChild<QPushButton*>(key + "_" + label), nullptr) << field.label;
          break;
        default:
          EXPECT_NE(dialog.findChild<QLineEdit*>(key), nullptr) << field.key;
          EXPECT_TRUE(field.label.empty() || texts.contains(label)) << field.label;
          EXPECT_TRUE(field.hint.empty() || texts.contains(QString::fromStdString(field.hint))) << field.hint;
          EXPECT_EQ(dialog.findChild<QPushButton*>(key + "_browse") != nullptr,
                    field.kind != FieldKind::kText && field.kind != FieldKind::kNumber)
              << field.key;
      }
    }
    EXPECT_EQ(dialog.findChild<QProgressBar*>("progress") != nullptr, tool.shows_progress);
    ASSERT_NE(dialog.findChild<QPushButton*>("action"), nullptr);
    EXPECT_EQ(dialog.findChild<QPushButton*>("action")->text().toStdString(), tool.action);
    dialog.findChild<QPushButton*>("action")->click();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("wrong picture size")) << messages[0].toStdString();
  }
}

TEST(ToolDialog, BitmapPackShowsItsFieldsAndItsActionConverts) {
  ToolDialog dialog(BitmapPackTool());
  QStringList messages;
  dialog.SetMessageSink([&](const QString& text) { messages << text; });
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), "bitmappack");
  const QStringList texts = Texts(dialog);
  for (const char* text : {"BMP文件所在目录：", "文件名：", "例如train(*),不含扩展名", "from:", "to:", "通配符长度：",
                           "图象尺寸：", "宽", "高", "seq文件所在路径：", "关于 bitmappack(&A)..."}) {
    EXPECT_TRUE(texts.contains(QString::fromUtf8(text))) << text;
  }
  ASSERT_NE(dialog.findChild<QCheckBox*>("all"), nullptr);
  EXPECT_EQ(dialog.findChild<QCheckBox*>("all")->text(), "ALL");
  EXPECT_NE(dialog.findChild<QProgressBar*>("progress"), nullptr);
  EXPECT_NE(dialog.findChild<QPushButton*>("dir_browse"), nullptr);
  EXPECT_NE(dialog.findChild<QPushButton*>("seq_browse"), nullptr);
  QLineEdit* width = Edit(dialog, "width");
  EXPECT_EQ(width->text(), "0");
  QString typed = "12a";
  int position = 0;
  EXPECT_EQ(width->validator()->validate(typed, position), QValidator::Invalid);

  testing::TempDir dir;
  for (int i = 0; i < 3; ++i) {
    testing::WriteBitmap(dir.File(QString("f%1.bmp").arg(i).toStdString()),
                         testing::RandomBgrBitmap(8, 6, static_cast<uint32_t>(i)));
  }
  Edit(dialog, "dir")->setText(QString::fromStdString(dir.path().string() + "/"));
  Edit(dialog, "name")->setText("f(*)");
  dialog.findChild<QCheckBox*>("all")->setChecked(true);
  width->setText("8");
  Edit(dialog, "height")->setText("6");
  Edit(dialog, "seq")->setText(QString::fromStdString(dir.File("out.seq")));
  auto* action = dialog.findChild<QPushButton*>("action");
  ASSERT_NE(action, nullptr);
  EXPECT_EQ(action->text(), "Convert");
  action->click();
  EXPECT_EQ(messages, QStringList{"ok!"});
  EXPECT_EQ(testing::ReadFileBytes(dir.File("out.seq")).size(), 3u * 72u);
  EXPECT_EQ(dialog.findChild<QProgressBar*>("progress")->value(), 3);
  EXPECT_TRUE(dialog.isEnabled());
}

TEST(ToolDialog, BitmapZoneSuffixButtonsAndAFailureMessage) {
  ToolDialog dialog(BitmapZoneTool());
  QStringList messages;
  dialog.SetMessageSink([&](const QString& text) { messages << text; });
  EXPECT_TRUE(Texts(dialog).contains("Note: it's the postion displayed"));
  ASSERT_NE(dialog.findChild<QPushButton*>("suffix_left"), nullptr);
  dialog.findChild<QPushButton*>("suffix_left")->click();
  EXPECT_EQ(Edit(dialog, "suffix")->text(), "_left");
  dialog.findChild<QPushButton*>("suffix_right")->click();
  EXPECT_EQ(Edit(dialog, "suffix")->text(), "_right");
  dialog.findChild<QPushButton*>("action")->click();
  EXPECT_EQ(messages, QStringList{"wrong picture size: width and height must be from 1 to 32768."});
}

// The two AVI-writing dialogs: their labels, boxes and browse buttons, and the action writing the file or naming
// what went wrong.
TEST(ToolDialog, ReelDialogsShowTheirFieldsAndTheirActionsWriteAviFiles) {
  testing::TempDir dir;
  const PictureSize size{8, 6};
  testing::WriteBytes(dir.File("in.seq"), testing::PatternBytes(4 * size.SequenceFrameBytes(), 2));
  for (int i = 0; i < 2; ++i) {
    testing::WriteBitmap(dir.File(QString("b%1.bmp").arg(i).toStdString()), testing::RandomBgrBitmap(8, 6, 9));
  }
  struct Case {
    ToolDescription tool;
    std::vector<const char*> texts;
    const char* all_label;
    bool progress;
    std::map<const char*, std::string> typed;
  };
  const std::vector<Case> cases{
      {PackReelTool(),
       {"seq文件：", "from:", "to:", "每帧画面尺寸：", "宽", "高", "avi文件：", "关于 packreel(&A)..."},
       "所有帧",
       false,
       {{"seq", dir.File("in.seq")}, {"from", "1"}, {"to", "2"}}},
      {BitmapReelTool(),
       {"BMP文件所在目录：", "文件名：", "例如train(*),不含扩展名", "from:", "to:", "通配符长度：", "图象尺寸：", "宽",
        "高", "avi文件所在路径：", "关于 bitmapreel(&A)..."},
       "ALL",
       true,
       {{"dir", dir.path().string() + "/"}, {"name", "b(*)"}, {"to", "5"}}},
  };
  for (const Case& tool_case : cases) {
    ToolDialog dialog(tool_case.tool);
    QStringList messages;
    dialog.SetMessageSink([&](const QString& text) { messages << text; });
    dialog.show();
    EXPECT_EQ(dialog.windowTitle().toStdString(), tool_case.tool.name);
    const QStringList texts = Texts(dialog);
    for (const char* text : tool_case.texts) EXPECT_TRUE(texts.contains(QString::fromUtf8(text))) << text;
    ASSERT_NE(dialog.findChild<QCheckBox*>("all"), nullptr);
    EXPECT_EQ(dialog.findChild<QCheckBox*>("all")->text(), QString::fromUtf8(tool_case.all_label));
    EXPECT_EQ(dialog.findChild<QProgressBar*>("progress") != nullptr, tool_case.progress);
    EXPECT_NE(dialog.findChild<QPushButton*>("avi_browse"), nullptr);
    auto* action = dialog.findChild<QPushButton*>("action");
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), "Convert");

    // Sizes start at 0, which the run refuses with its message.
    action->click();
    const std::string avi = dir.File(tool_case.tool.name + ".avi");
    Edit(dialog, "avi")->setText(QString::fromStdString(avi));
    for (const auto& [key, value] : tool_case.typed) Edit(dialog, key)->setText(QString::fromStdString(value));
    Edit(dialog, "width")->setText("8");
    Edit(dialog, "height")->setText("6");
    action->click();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[0].startsWith("wrong picture size")) << messages[0].toStdString();
    EXPECT_EQ(messages[1], "ok!");
    AviContainer container;
    ASSERT_TRUE(container.Open(avi));
    ASSERT_NE(container.VideoStream(0), nullptr);
    EXPECT_EQ(container.VideoStream(0)->Length(), 2);
    if (tool_case.progress) {
      EXPECT_EQ(dialog.findChild<QProgressBar*>("progress")->value(), 2);
    }
    EXPECT_TRUE(dialog.isEnabled());
  }
}

DibImage PalettedBitmap(int width, int height, uint16_t bit_count) {
  DibImage image;
  image.info.width = width;
  image.info.height = height;
  image.info.bit_count = bit_count;
  image.colour_table = testing::PatternBytes(4u << bit_count, bit_count);
  for (size_t k = 3; k < image.colour_table.size(); k += 4) image.colour_table[k] = 0;
  image.pixels = testing::PatternBytes(image.Stride() * static_cast<size_t>(height), 7);
  return image;
}

TEST(ViewerWindow, OpensPalettedBitmapsShowsTheirColoursAndSavesThemBack) {
  ViewerWindow window;
  QStringList messages;
  window.SetMessageSink([&](const QString& text) { messages << text; });
  window.show();
  const QStringList texts = Texts(window);
  for (const char* text : {"文件(&F)", "窗口(&W)", "帮助(&H)", "打开(&O)...\tCtrl+O", "另存为(&A)..."}) {
    EXPECT_TRUE(texts.contains(QString::fromUtf8(text))) << text;
  }
  EXPECT_NE(window.findChild<QToolBar*>("tools"), nullptr);
  EXPECT_EQ(window.statusBar()->currentMessage(), "就绪");

  testing::TempDir dir;
  int windows = 0;
  for (const uint16_t bit_count : {uint16_t{1}, uint16_t{4}, uint16_t{8}}) {
    const DibImage image = PalettedBitmap(9, 5, bit_count);
    const QString name = QString("p%1.bmp").arg(bit_count);
    const std::string path = dir.File(name.toStdString());
    testing::WriteBitmap(path, image);
    ASSERT_TRUE(window.OpenFile(QString::fromStdString(path)));
    EXPECT_EQ(window.Area()->subWindowList().size(), ++windows);
    DibView* view = window.ActiveView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->windowTitle(), name);
    ASSERT_EQ(view->Picture().size(), QSize(9, 5));
    // The top-left pixel is the first entry of the last stored row.
    const uint8_t first = image.pixels[4 * image.Stride()];
    const size_t index = static_cast<size_t>(first >> (8 - bit_count));
    const QRgb shown = view->Picture().pixel(0, 0);
    EXPECT_EQ(qBlue(shown), image.colour_table[4 * index]) << bit_count;
    EXPECT_EQ(qGreen(shown), image.colour_table[4 * index + 1]);
    EXPECT_EQ(qRed(shown), image.colour_table[4 * index + 2]);
    ASSERT_TRUE(window.SaveActiveAs(QString::fromStdString(dir.File("saved.bmp"))));
    EXPECT_EQ(testing::ReadFileBytes(dir.File("saved.bmp")), testing::ReadFileBytes(path));
  }
  testing::WriteBytes(dir.File("junk.bmp"), testing::PatternBytes(300, 1));
  EXPECT_FALSE(window.OpenFile(QString::fromStdString(dir.File("junk.bmp"))));
  EXPECT_EQ(messages.size(), 1);
  EXPECT_EQ(window.Area()->subWindowList().size(), windows);
}

}  // namespace
}  // namespace vidmetra::converters
