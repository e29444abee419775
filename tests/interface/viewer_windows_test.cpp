// The graph and frame windows on Qt's offscreen platform: what their off-screen images show, the clipboard copies,
// the frame window's zoom, sources and picture, and the windows' lifetimes.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <cmath>
#include <fstream>

#include "frame_display.h"
#include "frame_window.h"
#include "graph_panel.h"
#include "graph_window.h"
#include "hold_repeat_button.h"
#include "plot_colours.h"
#include "support/temp_dir.h"
#include "vidmetra/colour_space.h"
#include "vidmetra/file_reader_opener.h"
#include "vidmetra/yuv_to_bgr_bytes.h"

namespace vidmetra::ui {
namespace {

constexpr int kWidth = 32;
constexpr int kHeight = 24;
constexpr int kFrames = 40;

// Luma of frame f of input i: distinct per input and frame, so that a wrong frame or input shows.
uint8_t Luma(int input, int frame) { return static_cast<uint8_t>(30 + 60 * input + 4 * frame); }

class ViewerTest : public ::testing::Test {
 protected:
  ViewerTest() {
    for (int input = 0; input < 2; ++input) {
      const std::string path = dir.File("input" + std::to_string(input) + ".yuv");
      std::ofstream file(path, std::ios::binary);
      for (int frame = 0; frame < kFrames; ++frame) {
        file << std::string(kWidth * kHeight, static_cast<char>(Luma(input, frame)))
             << std::string(kWidth * kHeight / 4, static_cast<char>(90))
             << std::string(kWidth * kHeight / 4, static_cast<char>(200));
      }
      bundle.inputs[input] = InputFileEntry{path, kWidth, kHeight, kIyuv};
    }
    // The original measured alone, the processed file against it; and a third series on neither input.
    store.AddSeries(1, {0, 0, {bundle.inputs[0]}, {}, "a"});
    store.AddSeries(2, {0, 0, {bundle.inputs[0], bundle.inputs[1]}, {}, "b"});
    for (int32_t frame = 0; frame < kFrames; ++frame) {
      store.AddValue(1, frame, 10.0f + static_cast<float>(frame % 7));
      store.AddValue(2, frame, 30.0f + 5.0f * std::sin(static_cast<float>(frame)));
    }
    bundle.store = &store;
    bundle.bad_frames = std::vector<int32_t>{5, 17, 33};
  }

  vidmetra::testing::TempDir dir;
  ResultStore store;
  ResultsBundle bundle;
};

// The rows of column x that hold `colour`.
std::vector<int> RowsOf(const QImage& image, int x, const QColor& colour) {
  std::vector<int> rows;
  for (int y = 0; y < image.height(); ++y) {
    if (image.pixelColor(x, y) == colour) rows.push_back(y);
  }
  return rows;
}

// Pixels of the light watermark grey, or of its smoothed edges towards white.
int CountWatermark(const QImage& image, const QRect& area) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor pixel = image.pixelColor(x, y);
      count += pixel.red() == pixel.green() && pixel.green() == pixel.blue() && pixel.red() >= 219 && pixel.red() < 250;
    }
  }
  return count;
}

int CountColour(const QImage& image, const QRect& area, const QColor& colour) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) count += image.pixelColor(x, y) == colour ? 1 : 0;
  }
  return count;
}

TEST_F(ViewerTest, CurvesLieWhereTheirValuesPutThemInTheirColours) {
  const plot::PlotSource source = plot::MakePlotSource(store, bundle.inputs, bundle.bad_frames, MetricCatalogue(""));
  EXPECT_EQ(source.series, (std::map<int32_t, int32_t>{{0, 1}, {1, 2}}));
  const plot::PlotRange range = *plot::ComputePlotRange(store);
  const plot::GraphPainter painter(source, range.values, QFont("DejaVu Sans", 9));
  QImage image(900, 320, QImage::Format_RGB32);
  plot::PanelView view;
  view.first = 0;
  view.last = kFrames - 1;
  painter.Draw(image, view);
  const plot::PlotArea area = painter.Area(image.size());
  ASSERT_GT(area.width, 600);
  for (const auto& [input, id] : source.series) {
    for (int32_t frame = 1; frame + 1 < kFrames; ++frame) {
      // Independent of the painter: the linear maps of the frame and value ranges onto the plot area.
      const int x = area.left + frame * area.width / (kFrames - 1);
      const double value = *store.ValueAt(id, frame);
      const double y = area.top + area.height - (value - range.values.minimum) * area.height /
                                                    (range.values.maximum - range.values.minimum);
      const std::vector<int> rows = RowsOf(image, x, plot::InputColour(input));
      ASSERT_FALSE(rows.empty()) << "input " << input << " frame " << frame;
      const auto nearest = *std::min_element(rows.begin(), rows.end(), [&](int a, int b) {
        return std::fabs(a - y) < std::fabs(b - y);
      });
      EXPECT_LE(std::fabs(nearest - y), 1.5) << "input " << input << " frame " << frame;
    }
  }
  // A bad-frame triangle under each listed frame, none elsewhere on the axis.
  for (int32_t frame = 0; frame < kFrames; ++frame) {
    const int x = area.left + frame * area.width / (kFrames - 1);
    const bool listed = frame == 5 || frame == 17 || frame == 33;
    EXPECT_EQ(image.pixelColor(x, area.bottom() + 3) == plot::BadFrameColour(), listed) << frame;
  }
  // The second processed input was not measured: not a pixel of its colour.
  EXPECT_EQ(CountColour(image, image.rect(), plot::InputColour(2)), 0);
}

TEST_F(ViewerTest, CopiedPlotCarriesWatermarkAndOneLegendLinePerInput) {
  GraphWindow window(bundle, MetricCatalogue(""));
  window.resize(1000, 700);
  window.show();
  QCoreApplication::processEvents();
  window.CopyPlot();
  const QImage copy = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(copy.size(), window.lower().size());
  const QFontMetrics metrics(window.lower().font());
  // The watermark at the bottom left.
  const QRect corner(0, copy.height() - 2 * metrics.height(), 10 * metrics.averageCharWidth(), 2 * metrics.height());
  // Smoothed black labels leave a few such greys on the panel itself; the watermark adds many.
  EXPECT_GT(CountWatermark(copy, corner), CountWatermark(window.lower().image(), corner) + 30);
  // The legend box at the top right: one 3-pixel line per input, each at its own rows.
  const QRect box(copy.width() - 250, 0, 250, 4 * metrics.height());
  for (int input = 0; input < 2; ++input) {
    std::set<int> rows;
    for (int y = box.top(); y <= box.bottom(); ++y) {
      for (int x = box.left(); x <= box.right(); ++x) {
        if (copy.pixelColor(x, y) == plot::InputColour(input)) rows.insert(y);
      }
    }
    EXPECT_GE(rows.size(), 3u) << input;
  }
  EXPECT_EQ(CountColour(copy, box, plot::InputColour(2)), 0);
  // No current-frame line on the copy; the panel on screen has one.
  EXPECT_EQ(CountColour(copy, copy.rect(), plot::CurrentFrameColour()), 0);
  EXPECT_GT(CountColour(window.lower().image(), window.lower().image().rect(), plot::CurrentFrameColour()), 0);
}

TEST_F(ViewerTest, GraphWindowFollowsItsCommandsAndShowsTheValues) {
  GraphWindow window(bundle, MetricCatalogue(""));
  window.show();
  plot::GraphController& controller = window.controller();
  EXPECT_EQ(controller.current(), 19);
  controller.NextBadFrame();
  EXPECT_EQ(controller.current(), 33);
  EXPECT_EQ(window.value_label(0)->text(), QString::asprintf("%.4f", double{*store.ValueAt(1, 33)}));
  EXPECT_EQ(window.value_label(1)->text(), QString::asprintf("%.4f", double{*store.ValueAt(2, 33)}));
  EXPECT_TRUE(window.value_label(2)->text().isEmpty());
  // A click on the lower plot picks the frame under it without moving the view.
  window.resize(1000, 700);
  QCoreApplication::processEvents();
  const plot::PanelView before = window.lower().View();
  const plot::PlotArea area = window.lower().Area();
  const double scale = static_cast<double>(area.width) / (before.last - before.first);
  QTest::mouseClick(&window.lower(), Qt::LeftButton, {}, QPoint(area.left + static_cast<int>(6.5 * scale), area.top + 10));
  EXPECT_EQ(controller.current(), before.first + 6);
  EXPECT_EQ(controller.view_start(), before.first);
  // Dragging the control window on the upper plot by ten frames' width moves the view by ten frames.
  const plot::PlotArea upper = window.upper().Area();
  const double upper_scale = static_cast<double>(upper.width) / (kFrames - 1);
  const int grab = upper.left + static_cast<int>((before.first + 1) * upper_scale) + 1;
  QTest::mousePress(&window.upper(), Qt::LeftButton, {}, QPoint(grab, upper.top + 10));
  QMouseEvent move(QEvent::MouseMove, QPointF(grab - 10 * upper_scale, upper.top + 10),
                   window.upper().mapToGlobal(QPointF(grab - 10 * upper_scale, upper.top + 10)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&window.upper(), &move);
  QTest::mouseRelease(&window.upper(), Qt::LeftButton, {}, QPoint(grab, upper.top + 10));
  EXPECT_NEAR(controller.view_start(), before.first - 10, 1);
  // The upper panel holds the control window and refuses to be copied.
  EXPECT_FALSE(window.upper().Copy());
  const plot::PanelView lower = window.lower().View();
  EXPECT_EQ(lower.first, controller.view_start());
  EXPECT_EQ(lower.last, controller.view_end());
}

TEST_F(ViewerTest, KeysWorkOnBothWindows) {
  GraphWindow window(bundle, MetricCatalogue(""));
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  plot::GraphController& controller = window.controller();
  QTest::keyClick(&window, Qt::Key_Right);
  EXPECT_EQ(controller.current(), 20);
  QTest::keyClick(&window, Qt::Key_Left);
  QTest::keyClick(&window, Qt::Key_Left);
  EXPECT_EQ(controller.current(), 18);
  QTest::keyClick(&window, Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(controller.current(), 33);
  QTest::keyClick(&window, Qt::Key_Left, Qt::ControlModifier);
  EXPECT_EQ(controller.current(), 17);
  QGuiApplication::clipboard()->clear();
  QTest::keyClick(&window, Qt::Key_G, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->image().size(), window.lower().size());

  QTest::keyClick(&window, Qt::Key_Return);  // "Show frame" is the default button
  FrameWindow* frame = window.frame_window();
  ASSERT_NE(frame, nullptr);
  frame->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
  QTest::keyClick(frame, Qt::Key_2);
  EXPECT_EQ(frame->selected(), 1);
  QTest::keyClick(frame, Qt::Key_Right);
  EXPECT_EQ(controller.current(), 18);
  EXPECT_EQ(frame->windowTitle(), "Vidmetra - First processed, frame 18");
  QTest::keyClick(frame, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(kWidth, kHeight));
  // Escape closes the frame window for good; "Show frame" opens a new one.
  QTest::keyClick(frame, Qt::Key_Escape);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window.frame_window(), nullptr);
  window.ShowFrame();
  ASSERT_NE(window.frame_window(), nullptr);
  EXPECT_TRUE(window.frame_window()->isVisible());
}

TEST_F(ViewerTest, ClosingTheGraphWindowClosesTheFrameWindow) {
  auto* window = new GraphWindow(bundle, MetricCatalogue(""));
  window->show();
  window->ShowFrame();
  QPointer<FrameWindow> frame = window->frame_window();
  ASSERT_TRUE(frame);
  EXPECT_TRUE(frame->isVisible());
  window->ShowFrame();  // one frame window at most
  EXPECT_EQ(window->frame_window(), frame.data());
  window->reject();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(frame.isNull());
  delete window;
}

TEST_F(ViewerTest, FrameWindowShowsTheCurrentFrameOfTheChosenInput) {
  plot::GraphController controller(0, kFrames - 1, std::nullopt);
  FileReaderOpener opener;
  FrameWindow window(controller, bundle.inputs, kRec601, opener);
  window.show();
  auto expected = [](int input, int frame) {
    std::vector<uint8_t> yuv = {Luma(input, frame), 90, 200};
    std::vector<uint8_t> bgr(3);
    YuvToBgrBytes(yuv.data(), bgr.data(), 1, 1, 3, kRec601);
    return QColor(bgr[2], bgr[1], bgr[0]);
  };
  EXPECT_EQ(window.selected(), 0);
  EXPECT_EQ(window.display().picture().pixelColor(5, 5), expected(0, 19));
  controller.GoToFrame(3, true);
  EXPECT_EQ(window.windowTitle(), "Vidmetra - Original, frame 3");
  EXPECT_EQ(window.display().picture().pixelColor(31, 23), expected(0, 3));
  window.SelectInput(1);
  EXPECT_EQ(window.windowTitle(), "Vidmetra - First processed, frame 3");
  EXPECT_EQ(window.display().picture().pixelColor(0, 0), expected(1, 3));
  // No second processed input: the key and the button do nothing.
  EXPECT_FALSE(window.input_button(2).isEnabled());
  window.SelectInput(2);
  EXPECT_EQ(window.selected(), 1);
  EXPECT_TRUE(window.input_button(1).isChecked());
  // A frame past the end leaves the picture.
  controller.GoToFrame(kFrames - 1, true);
  const QImage last = window.display().picture();
  std::filesystem::resize_file(bundle.inputs[1].path, std::filesystem::file_size(bundle.inputs[1].path) / 2);
  controller.GoToFrame(kFrames - 2, true);
  EXPECT_EQ(window.display().picture(), last);
  window.CopyFrame();
  EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
            last.convertToFormat(QImage::Format_RGB32));
}

TEST_F(ViewerTest, ZoomStepsAndTheSliderEnd) {
  plot::GraphController controller(0, kFrames - 1, std::nullopt);
  FileReaderOpener opener;
  FrameWindow window(controller, bundle.inputs, kRec601, opener);
  window.scale_slider().setValue(250);
  window.ZoomOut();
  EXPECT_EQ(window.display().zoom().scale(), 200);
  window.SetScale(250);
  window.ZoomIn();
  EXPECT_EQ(window.display().zoom().scale(), 300);
  window.SetScale(800);
  window.ZoomIn();
  EXPECT_EQ(window.display().zoom().scale(), 900);
  EXPECT_EQ(window.scale_field().text(), "900");
  EXPECT_EQ(window.scale_slider().value(), 800);
  window.ZoomOut();
  EXPECT_EQ(window.display().zoom().scale(), 800);
}

TEST(HoldRepeatButton, OneCommandPerClickAndRepeatsWhileHeld) {
  HoldRepeatButton button;
  button.resize(40, 20);
  button.show();
  int commands = 0;
  QObject::connect(&button, &HoldRepeatButton::command, [&] { ++commands; });
  QTest::mouseClick(&button, Qt::LeftButton);
  EXPECT_EQ(commands, 1);
  QTest::keyClick(&button, Qt::Key_Space);
  EXPECT_EQ(commands, 2);
  QTest::mousePress(&button, Qt::LeftButton);
  QTest::qWait(400);  // 100 ms, then ever shorter: several ticks
  QTest::mouseRelease(&button, Qt::LeftButton);
  EXPECT_GE(commands, 2 + 3);
  const int held = commands;
  QTest::qWait(150);
  EXPECT_EQ(commands, held);  // released: no more
}

TEST(FrameZoom, PanHasNoEffectAtFullSizeAndStaysInRange) {
  FrameZoom zoom;
  const ShownPart before = zoom.Place(200, 150, 352, 288);
  zoom.Drag(-80, -60, 352, 288);
  EXPECT_EQ(zoom.pan_x(), 0.0f);
  EXPECT_EQ(zoom.pan_y(), 0.0f);
  const ShownPart after = zoom.Place(200, 150, 352, 288);
  EXPECT_EQ(after.source_x, before.source_x);
  EXPECT_EQ(after.source_y, before.source_y);
  zoom.SetScale(400);
  for (int i = 0; i < 50; ++i) zoom.Drag(-37, -29, 352, 288);
  EXPECT_FLOAT_EQ(zoom.pan_x(), 0.75f);
  EXPECT_FLOAT_EQ(zoom.pan_y(), 0.75f);
  const ShownPart zoomed = zoom.Place(400, 300, 352, 288);
  EXPECT_EQ(zoomed.source_width, 100);
  EXPECT_EQ(zoomed.source_x, 352 - 100);  // the pan would start at 264, past the last full view
  EXPECT_EQ(zoomed.target_width, 400);  // smaller than the picture both ways: stretched over the client
}

TEST(FrameDisplay, SmallPictureIsCentredWithFaceColouredMargins) {
  FrameDisplay display;
  display.resize(600, 500);
  QImage picture(352, 288, QImage::Format_RGB32);
  picture.fill(QColor(10, 200, 30));
  display.SetPicture(picture);
  const QImage shown = display.Render();
  const QColor face = display.palette().color(QPalette::Window);
  const QRect centred((600 - 352) / 2, (500 - 288) / 2, 352, 288);
  EXPECT_EQ(CountColour(shown, centred, QColor(10, 200, 30)), 352 * 288);
  EXPECT_EQ(CountColour(shown, shown.rect(), face), 600 * 500 - 352 * 288);
}

}  // namespace
}  // namespace vidmetra::ui
