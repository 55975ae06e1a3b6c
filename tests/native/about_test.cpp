// The About window's logic on the fake platform: what it shows, the registry lookup of the
// system-information tool and its start, and the one instance of the window.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "about/about.h"
#include "about/about_box.h"
#include "core/runtime_error.h"
#include "platform/fake/fake_platform.h"

namespace vcit {
namespace {

namespace reg = platform::reg;
constexpr const char* kToolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* kFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr const char* kUnavailable = "System Information Is Unavailable At This Time";
constexpr const char* kProgram = "MZ, a program";

class AboutTest : public ::testing::Test {
 protected:
  // Writes HKLM\key value with this type and exact data (a text value's NUL included or not).
  void setValue(const std::string& key, const std::string& name, std::uint32_t type,
                const std::string& data) {
    reg::Key handle = 0;
    ASSERT_EQ(fake.registry.createKey(reg::kLocalMachine, key, "", 0, reg::kKeyAllAccess, handle),
              reg::kSuccess);
    ASSERT_EQ(fake.registry.setValue(handle, name, type, data), reg::kSuccess);
    fake.registry.closeKey(handle);
  }
  static std::string dword(std::uint32_t n) {
    return std::string(reinterpret_cast<const char*>(&n), sizeof n);
  }
  // GetKeyValue on HKLM\key value, starting from a given KeyVal.
  bool read(const std::string& key, const std::string& name, std::string& value) {
    reg::Key root = reg::kLocalMachine;
    return about.GetKeyValue(root, key, name, value);
  }
  std::vector<std::string> messages() const { return fake.messages.texts(); }

  platform::FakePlatform fake;
  frmAbout about{fake.platform};
};

TEST_F(AboutTest, LoadShowsTitleVersionAndProductBesideTheFixedTexts) {
  about.Form_Load();
  EXPECT_EQ(about.Caption.text(), "About RUZiza");
  EXPECT_EQ(about.lblVersion.text(), "Version 1.0.0");
  EXPECT_EQ(about.lblTitle.text(), "Valor Crest Mod Launcher");
  EXPECT_EQ(about.lblDescription.text(),
            "This program applies mods to VC:IT by copying the pk3 files into the main directory "
            "as specified by the user.  To use place pk3 files in this program's data "
            "directory.");
  EXPECT_NE(about.lblDisclaimer.text().find('@'), std::string::npos) << "a contact address";
}

TEST_F(AboutTest, TextValueLosesExactlyOneFinalZeroByteAndKeepsEverythingElse) {
  setValue(kToolKey, "PATH", reg::kTypeSz, std::string("C:\\Tools\\info.exe\0", 18));
  setValue(kToolKey, "Bare", reg::kTypeSz, "C:\\Tools\\info.exe");
  setValue(kToolKey, "Two", reg::kTypeSz, std::string("ab\0\0", 4));
  std::string value;
  EXPECT_TRUE(read(kToolKey, "PATH", value));
  EXPECT_EQ(value, "C:\\Tools\\info.exe");
  EXPECT_TRUE(read(kToolKey, "Bare", value));
  EXPECT_EQ(value, "C:\\Tools\\info.exe") << "no final zero: every character kept";
  EXPECT_TRUE(read(kToolKey, "Two", value));
  EXPECT_EQ(value, std::string("ab\0", 3));
}

TEST_F(AboutTest, NumberValueGivesHexDigitsFromTheLastByteEachWithoutItsLeadingZero) {
  setValue(kToolKey, "A", reg::kTypeDword, dword(0x0A0B0C0Du));
  setValue(kToolKey, "B", reg::kTypeDword, dword(0x00012A0Bu));  // final zero byte dropped
  setValue(kToolKey, "C", reg::kTypeDword, dword(0x01000000u));
  setValue(kToolKey, "D", reg::kTypeDword, dword(0xFF00F001u));
  setValue(kToolKey, "E", reg::kTypeDword, dword(0x10201110u));  // 0x10 keeps its high digit
  auto number = [&](const char* name) {
    std::string value;  // empty, as in every lookup of the program
    EXPECT_TRUE(read(kToolKey, name, value));
    return value;
  };
  EXPECT_EQ(number("A"), "&hABCD");
  EXPECT_EQ(number("B"), "&h12AB");
  EXPECT_EQ(number("C"), "&h1000");
  EXPECT_EQ(number("D"), "&hFF0F01");
  EXPECT_EQ(number("E"), "&h10201110");
}

TEST_F(AboutTest, OtherTypesLeaveTheValueAsItWasYetCountAsRead) {
  setValue(kToolKey, "PATH", reg::kTypeBinary, "\x01\x02");
  std::string value = "before";
  EXPECT_TRUE(read(kToolKey, "PATH", value));
  EXPECT_EQ(value, "before");
}

TEST_F(AboutTest, ValuesBeyondTheBufferOrMissingFailAndEmptyTheResult) {
  setValue(kToolKey, "Fits", reg::kTypeSz, std::string(1023, 'x') + '\0');     // 1024 bytes
  setValue(kToolKey, "TooLong", reg::kTypeSz, std::string(1024, 'x') + '\0');  // 1025 bytes
  std::string value;
  EXPECT_TRUE(read(kToolKey, "Fits", value));
  EXPECT_EQ(value.size(), 1023u);
  value = "stale";
  EXPECT_FALSE(read(kToolKey, "TooLong", value));
  EXPECT_EQ(value, "");
  value = "stale";
  EXPECT_FALSE(read(kToolKey, "Missing", value));
  EXPECT_EQ(value, "");
  value = "stale";
  EXPECT_FALSE(read("SOFTWARE\\No Such Key", "PATH", value));
  EXPECT_EQ(value, "");
  EXPECT_EQ(fake.registry.openHandles(), 0u) << "every key opened is closed again";
}

TEST_F(AboutTest, OpensWithWriteRightsAndAFailedOpenClosesTheEmptyHandle) {
  setValue(kToolKey, "PATH", reg::kTypeSz, std::string("C:\\info.exe\0", 12));
  fake.registry.refuse(reg::kLocalMachine, kToolKey, 0x2 /* KEY_SET_VALUE */);
  const int closesBefore = fake.registry.calls("closeKey");
  std::string value = "stale";
  EXPECT_FALSE(read(kToolKey, "PATH", value));
  EXPECT_EQ(value, "");
  ASSERT_FALSE(fake.registry.requestedAccess().empty());
  EXPECT_EQ(fake.registry.requestedAccess().back(), 0x2003Fu);
  EXPECT_EQ(fake.registry.calls("closeKey"), closesBefore + 1);
}

TEST_F(AboutTest, ValueWithoutDataIsAnErrorAndTheKeyIsStillClosed) {
  setValue(kToolKey, "PATH", reg::kTypeSz, "");
  std::string value;
  EXPECT_THROW(read(kToolKey, "PATH", value), RuntimeError);
  EXPECT_EQ(fake.registry.openHandles(), 0u);

  about.StartSysInfo();
  EXPECT_EQ(messages(), std::vector<std::string>{kUnavailable});
  EXPECT_TRUE(fake.programs.started.empty());
}

TEST_F(AboutTest, FirstValueNamesTheToolAndIsStartedWithoutAnExistenceCheck) {
  setValue(kToolKey, "PATH", reg::kTypeSz, std::string("C:\\Nowhere\\msinfo32.exe\0", 24));
  setValue(kFolderKey, "MSINFO", reg::kTypeSz, std::string("C:\\Other\0", 9));
  // A hidden program, which the existence test would not count, starts all the same.
  fake.files.addFolder("C:\\Nowhere");
  fake.files.addFile("C:\\Nowhere\\msinfo32.exe", kProgram);
  fake.files.find("C:\\Nowhere\\msinfo32.exe")->hidden = true;
  fake.files.addFile("C:\\Other\\MSINFO32.EXE", kProgram);
  about.cmdSysInfo.click();
  EXPECT_EQ(fake.programs.started, std::vector<std::string>{"C:\\Nowhere\\msinfo32.exe"});
  EXPECT_TRUE(messages().empty());
}

TEST_F(AboutTest, SecondValueNamesTheFolderWhoseToolMustExist) {
  setValue(kFolderKey, "MSINFO", reg::kTypeSz, std::string("C:\\Tools\0", 9));
  about.StartSysInfo();
  EXPECT_TRUE(fake.programs.started.empty());
  EXPECT_EQ(messages(), std::vector<std::string>{kUnavailable});

  fake.files.addFile("C:\\Tools\\MSINFO32.EXE", kProgram);
  about.StartSysInfo();
  EXPECT_EQ(fake.programs.started, std::vector<std::string>{"C:\\Tools\\MSINFO32.EXE"});
  EXPECT_EQ(messages().size(), 1u);
}

TEST_F(AboutTest, EveryFailureEndsInTheOneMessageWithoutIcon) {
  // Neither value.
  about.StartSysInfo();
  // Both keys refused for their write rights.
  setValue(kToolKey, "PATH", reg::kTypeSz, std::string("C:\\info.exe\0", 12));
  setValue(kFolderKey, "MSINFO", reg::kTypeSz, std::string("C:\\Tools\0", 9));
  fake.files.addFile("C:\\Tools\\MSINFO32.EXE", kProgram);
  fake.registry.refuse(reg::kLocalMachine, kToolKey, 0x4 /* KEY_CREATE_SUB_KEY */);
  fake.registry.refuse(reg::kLocalMachine, kFolderKey, 0x20 /* KEY_CREATE_LINK */);
  about.StartSysInfo();

  ASSERT_EQ(fake.messages.shown().size(), 2u);
  for (const auto& shown : fake.messages.shown()) {
    EXPECT_EQ(shown.text, kUnavailable);
    EXPECT_EQ(shown.title, "RUZiza");
    EXPECT_EQ(shown.style, 0u) << "OK only, no icon";
  }
  EXPECT_TRUE(fake.programs.started.empty());
}

TEST_F(AboutTest, AToolThatCannotBeStartedEndsInTheMessage) {
  setValue(kToolKey, "PATH", reg::kTypeSz, std::string("C:\\gone.exe\0", 12));
  fake.programs.failStart = true;
  about.StartSysInfo();
  EXPECT_EQ(messages(), std::vector<std::string>{kUnavailable});
}

// The tool is started as a program: a first value that names no program ends in the message,
// as it does on Windows, instead of opening a folder or a document.
TEST_F(AboutTest, AFirstValueThatNamesNoProgramEndsInTheMessage) {
  fake.files.addFolder("C:\\Tools");
  fake.files.addFile("C:\\Tools\\readme.txt", "a document");
  const struct {
    std::uint32_t type;
    std::string data;
  } values[] = {
      {reg::kTypeExpandSz, std::string("C:\\Tools\\MSINFO32.EXE\0", 23)},  // path stays empty
      {reg::kTypeMultiSz, std::string("C:\\Tools\0\0", 11)},               // path stays empty
      {reg::kTypeSz, std::string("C:\\Tools\0", 9)},                       // a folder
      {reg::kTypeSz, std::string("C:\\Tools\\readme.txt\0", 20)},          // a document
      {reg::kTypeSz, std::string("C:\\Tools\\absent.exe\0", 20)},          // nothing there
  };
  fake.files.addFile("C:\\Tools\\MSINFO32.EXE", kProgram);
  for (const auto& value : values) {
    setValue(kToolKey, "PATH", value.type, value.data);
    const std::size_t before = fake.messages.shown().size();
    about.cmdSysInfo.click();
    EXPECT_EQ(fake.messages.shown().size(), before + 1) << value.data;
    EXPECT_EQ(fake.messages.shown().back().text, kUnavailable);
  }
  EXPECT_TRUE(fake.programs.started.empty());
}

// The existence test on the second branch counts only files with normal attributes.
TEST_F(AboutTest, AHiddenOrSystemToolInTheFolderDoesNotCount) {
  setValue(kFolderKey, "MSINFO", reg::kTypeSz, std::string("C:\\Tools\0", 9));
  fake.files.addFolder("C:\\Tools");
  fake.files.addFile("C:\\Tools\\MSINFO32.EXE", kProgram);
  auto& tool = *fake.files.find("C:\\Tools\\MSINFO32.EXE");
  tool.hidden = true;
  about.StartSysInfo();
  tool.hidden = false;
  tool.system = true;
  about.StartSysInfo();
  EXPECT_EQ(messages(), (std::vector<std::string>{kUnavailable, kUnavailable}));
  EXPECT_TRUE(fake.programs.started.empty());

  tool.system = false;
  tool.readOnly = true;  // read-only is a normal attribute
  about.StartSysInfo();
  EXPECT_EQ(fake.programs.started, std::vector<std::string>{"C:\\Tools\\MSINFO32.EXE"});
}

// The About box's one instance, with a window that records what it is asked.
class AboutBoxTest : public ::testing::Test {
 protected:
  struct Record {
    int windows = 0;
    int shows = 0;
    int fronts = 0;
    int closes = 0;
    std::function<void()> closed;
  };
  // Like the real window, it is bound to the form's controls until it goes away.
  class RecordingWindow : public about::AboutBox::Window {
   public:
    RecordingWindow(Record& record, frmAbout& form) : record_(record), form_(form) {
      form_.lblVersion.bindView([] {});
    }
    ~RecordingWindow() override { form_.lblVersion.bindView({}); }
    void show() override { ++record_.shows; }
    void bringToFront() override { ++record_.fronts; }
    void close() override { ++record_.closes; }

   private:
    Record& record_;
    frmAbout& form_;
  };

  platform::FakePlatform fake;
  Record record;
  about::AboutBox box{fake.platform, [this](frmAbout& form, std::function<void()> closed) {
                        ++record.windows;
                        record.closed = std::move(closed);
                        return std::make_unique<RecordingWindow>(record, form);
                      }};
};

TEST_F(AboutBoxTest, OneWindowPerRunBroughtForwardWhileOpenAndLoadedAfreshAfterClosing) {
  box.open();
  ASSERT_NE(box.form(), nullptr);
  EXPECT_EQ(box.form()->Caption.text(), "About RUZiza");
  EXPECT_EQ(record.windows, 1);
  EXPECT_EQ(record.shows, 1);

  // A second opening: the same window, not loaded again.
  frmAbout* first = box.form();
  first->lblVersion.setText("changed since load");
  box.open();
  EXPECT_EQ(box.form(), first);
  EXPECT_EQ(record.windows, 1);
  EXPECT_EQ(record.fronts, 1);
  EXPECT_EQ(first->lblVersion.text(), "changed since load");

  // OK asks the window to close; once it is gone the logic goes with it.
  first->cmdOK.click();
  EXPECT_EQ(record.closes, 1);
  record.closed();
  EXPECT_EQ(box.form(), nullptr);

  box.open();
  EXPECT_EQ(record.windows, 2);
  ASSERT_NE(box.form(), nullptr);
  EXPECT_EQ(box.form()->lblVersion.text(), "Version 1.0.0");
}

}  // namespace
}  // namespace vcit
