// The command line: the options XScreenSaver and a user give, the bad ones
// named in one line, the run's own choice kept out of the saved settings,
// and lumvia.xml giving only options the program takes.
#include <fstream>
#include <regex>
#include <sstream>
#include <vector>

#include "core/frame_state.h"
#include "core/module_table.h"
#include "linux_program/options.h"
#include "scenes/modules.h"
#include "settings/file_store.h"
#include "settings/store.h"
#include "settings/stored_values.h"
#include "tests/linux/settings_file.h"

namespace {

ParsedOptions Parse(std::vector<const char*> args) {
  args.insert(args.begin(), "lumvia");
  return ParseOptions(static_cast<int>(args.size()), args.data());
}

TEST(OptionsTest, TakesTheHacksOptions) {
  Options o = Parse({}).options;
  EXPECT_EQ(o.target, DrawTarget::Default);
  EXPECT_EQ(o.width, 800);
  EXPECT_EQ(o.height, 600);
  EXPECT_FALSE(o.placed);

  o = Parse({"-root", "-cycle", "1", "-modules", "1, joy,BLISS", "-module", "Joy", "-fps"}).options;
  EXPECT_EQ(o.target, DrawTarget::Root);
  EXPECT_EQ(o.cycleTime, 1);
  ASSERT_TRUE(o.modules);
  for (int n = 1; n <= kModuleCount; ++n) EXPECT_EQ((*o.modules)[n], n == 1 || n == 3 || n == 10) << n;
  EXPECT_EQ(o.firstModule, 3);
  EXPECT_TRUE(o.fps);

  o = Parse({"-window-id", "0x1A00003", "-geometry", "640x480-10+20", "--no-truth"}).options;
  EXPECT_EQ(o.target, DrawTarget::WindowId);
  EXPECT_EQ(o.windowId, 0x1A00003u);
  EXPECT_EQ(o.width, 640);
  EXPECT_TRUE(o.placed && o.fromRight && !o.fromBottom && o.x == 10 && o.y == 20);
  EXPECT_TRUE(o.leftOut[7]);
  EXPECT_EQ(Parse({"-window-id", "4194307"}).options.windowId, 4194307u);
  EXPECT_EQ(Parse({"-window-id", "7", "-window"}).options.target, DrawTarget::OwnWindow);
  EXPECT_TRUE(Parse({"-help"}).options.help);
  o = Parse({"-wayland", "-output", "DP-2"}).options;
  EXPECT_TRUE(o.wayland);
  EXPECT_EQ(o.target, DrawTarget::Default);  // every output, full screen
  EXPECT_EQ(o.output, "DP-2");
  EXPECT_EQ(Parse({"-wayland", "-window"}).options.target, DrawTarget::OwnWindow);
  o = Parse({"-daemon", "-idle", "43200"}).options;
  EXPECT_TRUE(o.daemon);
  EXPECT_EQ(o.idleSeconds, 720 * 60);  // the most idle minutes the store takes

  // The options every display mode takes.
  const ParsedOptions common = Parse({"-fps", "-visual", "0x21", "-install", "-noinstall", "-mono",
                                      "-no-fps", "-delay", "20000", "-sync", "-xrm", "*x: y"});
  ASSERT_TRUE(common.ok) << common.error;
  EXPECT_FALSE(common.options.fps);
  EXPECT_TRUE(common.options.sync);
  EXPECT_EQ(common.options.visual, "0x21");
}

TEST(OptionsTest, ABadOptionOrValueIsNamed) {
  const std::vector<std::pair<std::vector<const char*>, std::string>> cases = {
      {{"-bogus"}, "unknown option \"-bogus\""},
      {{"-cycle"}, "-cycle needs a value"},
      {{"-cycle", "0"}, "bad value \"0\" for -cycle"},
      {{"-cycle", "10000"}, "bad value \"10000\" for -cycle"},
      {{"-cycle", "10s"}, "bad value \"10s\" for -cycle"},
      {{"-modules", "love,,joy"}, "bad value \"love,,joy\" for -modules"},
      {{"-modules", "love,hope"}, "bad value \"love,hope\" for -modules"},
      {{"-module", "11"}, "bad value \"11\" for -module"},
      {{"-window-id", "0"}, "bad value \"0\" for -window-id"},
      {{"-window-id", "12ab"}, "bad value \"12ab\" for -window-id"},
      {{"-geometry", "0x600"}, "bad value \"0x600\" for -geometry"},
      {{"-geometry", "800"}, "bad value \"800\" for -geometry"},
      {{"-geometry", "800x600+10"}, "bad value \"800x600+10\" for -geometry"},
      {{"-no-hope"}, "unknown option \"-no-hope\""},
      {{"-no-NAME"}, "unknown option \"-no-NAME\""},
      {{"-delay", "soon"}, "bad value \"soon\" for -delay"},
      {{"-output", ""}, "bad value \"\" for -output"},
      {{"-idle", "0"}, "bad value \"0\" for -idle"},
      {{"-idle", "43201"}, "bad value \"43201\" for -idle"},
  };
  for (const auto& [args, error] : cases) {
    const ParsedOptions parsed = Parse(args);
    EXPECT_FALSE(parsed.ok) << error;
    EXPECT_EQ(parsed.error, error);
  }
}

// Each saver -daemon starts is given what the daemon was given, in its
// order, but for the daemon's own options, wherever they stand.
TEST(OptionsTest, TheSaversOfTheDaemonGetAllButItsOwnOptions) {
  const std::vector<const char*> given = {"lumvia", "-idle", "5", "-modules", "love,joy",
                                          "--daemon", "-no-truth", "-cycle", "7", "--idle", "9",
                                          "-output", "-daemon"};
  ASSERT_TRUE(ParseOptions(static_cast<int>(given.size()), given.data()).ok);
  const std::vector<std::string> expected = {"lumvia", "-modules", "love,joy", "-no-truth",
                                             "-cycle", "7", "-output", "-daemon"};
  EXPECT_EQ(SaverArguments(static_cast<int>(given.size()), given.data()), expected);
}

using RunOptionsTest = SettingsFileTest;

TEST_F(RunOptionsTest, TheRunsChoiceIsShownButNeverSaved) {
  WriteFile("mod2 active = 0\nmod5 active = 0\ncycle time = 20\n");
  LoadSettings();
  ParsedOptions parsed = Parse({"-modules", "peace,joy,creativity,truth", "-no-joy", "-cycle", "3",
                                "-module", "5"});
  ASSERT_TRUE(parsed.ok);
  const StoredChoice stored = ApplyRunOptions(parsed.options);
  EXPECT_EQ(CycleTime, 3);
  EXPECT_EQ(CountActiveModules(), 3);
  EXPECT_TRUE(ModuleTable[2].active && ModuleTable[5].active && ModuleTable[7].active);
  EXPECT_EQ(CurrentModule, 5);
  EXPECT_EQ(g_fDepth, 22.0f);  // Creativity's view is loaded

  RestoreStoredChoice(stored);
  ASSERT_TRUE(SaveSettings());
  const std::string text = FileText();
  EXPECT_NE(text.find("mod2 active = 0\n"), std::string::npos);
  EXPECT_NE(text.find("mod3 active = 1\n"), std::string::npos);
  EXPECT_NE(text.find("cycle time = 20\n"), std::string::npos);

  // A first module that does not take part gives way to the next one that does.
  LoadSettings();
  ApplyRunOptions(Parse({"-module", "peace"}).options);
  EXPECT_EQ(CurrentModule, 3);
  LoadSettings();
  ApplyRunOptions(Parse({}).options);
  EXPECT_EQ(CurrentModule, 1);

  // Under the daemon and in its preview the command line is the whole truth:
  // what it does not say is lumvia.xml's default, not the stored choice.
  LoadSettings();
  ApplyRunOptions(Parse({"-root"}).options);
  EXPECT_EQ(CountActiveModules(), kModuleCount);
  EXPECT_EQ(CycleTime, 15);
  LoadSettings();
  ApplyRunOptions(Parse({"-window-id", "0x400003", "-no-joy", "-cycle", "30"}).options);
  EXPECT_EQ(CountActiveModules(), kModuleCount - 1);
  EXPECT_TRUE(ModuleTable[2].active && !ModuleTable[3].active);
  EXPECT_EQ(CycleTime, 30);
}

// XScreenSaver's settings program builds the command line from lumvia.xml:
// every switch it can produce must be an option of the table, taking a value
// exactly where the XML gives one; the slider starts at the stored default,
// and each module's check box leaves exactly that module out.
TEST(SettingsXmlTest, EveryControlGivesAnOptionOfTheTable) {
  std::ifstream file(LUMVIA_SOURCE_DIR "/x11/lumvia.xml");
  ASSERT_TRUE(file);
  std::ostringstream xml;
  xml << file.rdbuf();
  const std::string text = xml.str();

  int switches = 0;
  const std::regex arg(" arg(-set|-unset)?=\"(-[a-z-]+)( %)?\"");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), arg); it != std::sregex_iterator();
       ++it, ++switches) {
    const std::string given = (*it)[2];
    const char* name = nullptr;
    const OptionRow* row = FindOption(given.c_str(), &name);
    ASSERT_NE(row, nullptr) << given;
    EXPECT_EQ(row->value != nullptr, (*it)[3].matched) << given;
  }
  EXPECT_EQ(switches, 3 + kModuleCount);  // -root, -cycle, -fps and a box per module

  // The cycle time offers the stored value's choices and starts at its default.
  std::smatch m;
  ASSERT_TRUE(std::regex_search(
      text, m,
      std::regex("arg=\"-cycle %\"[^>]*low=\"([0-9]+)\" high=\"([0-9]+)\" default=\"([0-9]+)\"")));
  const StoredValue& cycle = StoredValueOf(&CycleTime);
  EXPECT_EQ(std::stoi(m.str(1)), cycle.leastChoice);
  EXPECT_EQ(std::stoi(m.str(2)), cycle.mostChoice);
  EXPECT_EQ(std::stoi(m.str(3)), cycle.missing);

  int boxes = 0;
  const std::regex box("<boolean id=\"([a-z]+)\" _label=\"([A-Za-z]+)\" arg-unset=\"([^\"]+)\"/>");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), box); it != std::sregex_iterator();
       ++it) {
    const std::string label = (*it)[2], unset = (*it)[3];
    const ParsedOptions parsed = Parse({unset.c_str()});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    for (int n = 1; n <= kModuleCount; ++n)
      EXPECT_EQ(parsed.options.leftOut[n], label == Modules[n].name) << unset << " " << n;
    ++boxes;
  }
  EXPECT_EQ(boxes, kModuleCount);
}

// The manual page lists every option of the table (a per-module one by its
// prefix, "-no-").
TEST(ManualPageTest, ListsEveryOption) {
  std::ifstream file(LUMVIA_SOURCE_DIR "/linux_program/debian/lumvia.6x.in");
  ASSERT_TRUE(file);
  std::ostringstream page;
  page << file.rdbuf();
  int listed = 0;
  for (const OptionRow& row : OptionTable()) {
    if (!row.help) continue;
    std::string name = row.name;
    if (name.ends_with("NAME")) name.resize(name.size() - 4);
    std::string roff = "\\-";
    for (char c : name) roff += c == '-' ? std::string("\\-") : std::string(1, c);
    EXPECT_TRUE(page.str().find("\n.B " + roff) != std::string::npos ||
                page.str().find("\n.BI " + roff) != std::string::npos)
        << roff;
    ++listed;
  }
  EXPECT_GT(listed, 0);
}

}  // namespace
