// Subclassing a real edit control: the map sees its messages first and leaves the rest to
// the edit's own procedure; detaching, the control's destruction and the object's
// destruction each give the edit its procedure back.
#include <gtest/gtest.h>
#include <string>
#include "RyMessageMap.h"
#include "RySubclassedWindow.h"

namespace {

class DigitFreeEdit : public RySubclassedWindow {
public:
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        using Self = DigitFreeEdit;
        static const RyMessageEntry<Self> map[] = {
            {WM_CHAR, RyMsgMaybe<&Self::OnChar>},
            {WM_GETDLGCODE, RyOnGetDlgCode<&Self::OnGetDlgCode>},
        };
        return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
    }
    void OnFinalMessage(HWND hwnd) override {
        ++finals;
        finalHandle = hwnd;
    }
    int refused = 0;
    int finals = 0;
    HWND finalHandle = nullptr;

private:
    LRESULT OnChar(WPARAM ch, LPARAM, bool& handled) {
        handled = ch >= '0' && ch <= '9';
        if (handled) ++refused;
        return 0;
    }
    UINT OnGetDlgCode(UINT, const MSG*) { return DLGC_WANTALLKEYS; }
};

std::string Text(HWND edit) {
    char text[64] = {};
    GetWindowTextA(edit, text, sizeof text);
    return text;
}

void Type(HWND edit, const char* keys) {
    for (const char* k = keys; *k; ++k) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(*k), 1);
}

class SubclassTest : public testing::Test {
protected:
    void SetUp() override {
        parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
        edit_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 150, 20, parent_, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, edit_);
        editProc_ = GetWindowLongPtrA(edit_, GWLP_WNDPROC);
    }
    void TearDown() override { DestroyWindow(parent_); }
    HWND parent_ = nullptr;
    HWND edit_ = nullptr;
    LONG_PTR editProc_ = 0;
};

TEST_F(SubclassTest, TheMapComesFirstAndTheEditKeepsTheRest) {
    DigitFreeEdit filter;
    ASSERT_TRUE(filter.Attach(edit_));
    EXPECT_FALSE(filter.Attach(edit_));  // one window per object
    EXPECT_EQ(edit_, filter.Handle());
    Type(edit_, "Joh1 3");
    EXPECT_EQ("Joh ", Text(edit_));
    EXPECT_EQ(2, filter.refused);
    EXPECT_EQ(DLGC_WANTALLKEYS, SendMessageA(edit_, WM_GETDLGCODE, 0, 0));
    SendMessageA(edit_, EM_SETSEL, 0, -1);  // the edit's own messages work on
    SendMessageA(edit_, WM_CLEAR, 0, 0);
    EXPECT_EQ("", Text(edit_));

    EXPECT_EQ(edit_, filter.Detach());
    EXPECT_EQ(editProc_, GetWindowLongPtrA(edit_, GWLP_WNDPROC));
    EXPECT_EQ(nullptr, filter.Handle());
    Type(edit_, "a1");
    EXPECT_EQ("a1", Text(edit_));
    EXPECT_EQ(0, filter.finals);
}

TEST_F(SubclassTest, DestroyingTheControlEndsTheSubclassWithTheFinalMessage) {
    DigitFreeEdit filter;
    ASSERT_TRUE(filter.Attach(edit_));
    DestroyWindow(edit_);
    EXPECT_EQ(1, filter.finals);
    EXPECT_EQ(edit_, filter.finalHandle);
    EXPECT_EQ(nullptr, filter.Handle());
}

TEST_F(SubclassTest, AnObjectThatDiesFirstGivesTheProcedureBack) {
    {
        DigitFreeEdit filter;
        ASSERT_TRUE(filter.Attach(edit_));
    }
    EXPECT_EQ(editProc_, GetWindowLongPtrA(edit_, GWLP_WNDPROC));
    EXPECT_EQ(nullptr, GetPropA(edit_, "RyWindowObject"));
    Type(edit_, "b2");
    EXPECT_EQ("b2", Text(edit_));
}

}  // namespace
