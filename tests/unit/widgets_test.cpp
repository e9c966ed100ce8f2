// The list box's own behaviours and input routing, on the headless backend.
#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

#include "platform/headless/HeadlessBackend.h"
#include "platform/input.h"
#include "platform/widgets.h"

using namespace platform;

namespace {

// Widgets never touch files.
class NoFiles : public Files {
public:
    bool exists(const std::string&) override { return false; }
    std::string read(const std::string&) override { throw std::logic_error("no files here"); }
    std::unique_ptr<PendingWrite> prepareWrite(const std::string&, const std::string&) override {
        throw std::logic_error("no files here");
    }
    std::unique_ptr<FileLock> lockForWriting(const std::string&, int) override {
        throw std::logic_error("no files here");
    }
};

class WidgetTest : public ::testing::Test {
protected:
    void SetUp() override { setWindowing(&backend); }
    void TearDown() override { setWindowing(nullptr); }
    std::istringstream script;
    std::ostringstream transcript;
    NoFiles files;
    headless::HeadlessBackend backend{headless::Options{}, files, script, transcript};
};

struct TestForm : Form {
    TestForm() : Form("TTest", "Test", 300, 200, BorderStyle::Dialog, 13) {}
};

}  // namespace

TEST_F(WidgetTest, SortedStyleComparesUpperCasedBytesThenRawBytes) {
    TestForm f;
    ListBox list(f, "List", 0, 0, 10, 10, 0, /*sorted=*/true);
    for (const char* line : {"b  two", "a  one", "B  Two", "\\  back", "1  digit", "ｱ  kana"}) list.add(line);
    EXPECT_EQ(list.lines(),
              (std::vector<std::string>{"1  digit", "a  one", "B  Two", "b  two", "\\  back", "ｱ  kana"}));
}

TEST_F(WidgetTest, TypeToSelectWrapsAndIgnoresCase) {
    TestForm f;
    ListBox list(f, "List", 0, 0, 10, 10, 0);
    for (const char* line : {"a  one", "b  two", "A  three"}) list.add(line);
    list.setItemIndex(0);
    EXPECT_TRUE(list.selectByChar('a'));
    EXPECT_EQ(list.itemIndex(), 2);
    EXPECT_TRUE(list.selectByChar('A'));
    EXPECT_EQ(list.itemIndex(), 0);  // wrapped
    EXPECT_FALSE(list.selectByChar('z'));
    EXPECT_EQ(list.itemIndex(), 0);
}

TEST_F(WidgetTest, KeysReachHandlerFirstThenTheControl) {
    TestForm f;
    ListBox list(f, "List", 0, 0, 10, 10, 0);
    Button ok(f, "Ok", 0, 0, 10, 10, 1, "保存(&S)");
    Edit edit(f, "Edit", 0, 0, 10, 10, 2, 4);
    for (const char* line : {"a  one", "b  two"}) list.add(line);
    std::vector<int> seen;
    int clicks = 0;
    list.OnKeyDown = [&](int& key, ShiftState) { seen.push_back(key); };
    ok.OnClick = [&] { ++clicks; };
    f.focus(&list);
    pressKey(f, 'B', {}, "b");
    EXPECT_EQ(list.itemIndex(), 1);
    EXPECT_EQ(clicks, 0);  // a list takes the character before any accelerator
    pressKey(f, 'S', {false, false, true}, "s");
    EXPECT_EQ(clicks, 1);  // Alt+S presses the button
    EXPECT_EQ(seen, (std::vector<int>{'B', 'S'}));

    list.OnKeyDown = [&](int& key, ShiftState) { key = 0; };  // a handler may swallow the key
    pressKey(f, 'A', {}, "a");
    EXPECT_EQ(list.itemIndex(), 1);

    f.focus(&edit);
    pressKey(f, 'A', {}, "a");
    pressKey(f, 0xE5, {}, "表");
    pressKey(f, 'B', {}, "b");
    pressKey(f, 'C', {}, "c");  // over the 4-byte limit
    EXPECT_EQ(edit.text(), "a表b");
    pressKey(f, vk::Back, {}, "");
    pressKey(f, vk::Back, {}, "");
    EXPECT_EQ(edit.text(), "a");
}

TEST_F(WidgetTest, RadioGroupAndModalButtons) {
    TestForm f;
    RadioButton r1(f, "R1", 0, 0, 10, 10, 0, "one");
    RadioButton r2(f, "R2", 0, 0, 10, 10, 1, "two");
    Button yes(f, "Yes", 0, 0, 10, 10, 2, "Yes(&Y)", mr::Yes);
    r1.setChecked(true);
    clickControl(r2);
    EXPECT_FALSE(r1.checked());
    EXPECT_TRUE(r2.checked());
    script.str("key Yes Enter\n");
    EXPECT_EQ(f.showModal(), mr::Yes);
    EXPECT_EQ(transcript.str(), "open TTest \"Test\"\nclose TTest 6\n");
}

// One rule for controls and menus: the first "&" that does not start a
// literal "&&" marks the accelerator.
TEST(Accelerator, FirstSingleAmpersandUpperCased) {
    EXPECT_EQ(acceleratorOf("OK(&O)"), 'O');
    EXPECT_EQ(acceleratorOf("Save &as"), 'A');
    EXPECT_EQ(acceleratorOf("ﾌｧｲﾙ(&f)"), 'F');  // half-width katakana are single bytes
    EXPECT_EQ(acceleratorOf("&a&b"), 'A');
    EXPECT_EQ(acceleratorOf("A&&B(&c)"), 'C');
    EXPECT_EQ(acceleratorOf("&&&x"), 'X');
    EXPECT_EQ(acceleratorOf("A&&B"), 0);
    EXPECT_EQ(acceleratorOf("trailing&"), 0);
    EXPECT_EQ(acceleratorOf(""), 0);
    EXPECT_EQ(acceleratorOf("表示(&1)"), '1');
}
