#include <gtest/gtest.h>

#include <QTest>
#include <QTextLayout>

#include "ShellTestSupport.h"
#include "support/FormLayout.h"
#include "windows/Controls.h"

namespace ponencias::test {
namespace {

class AboutWindowTest : public ShellTest {
protected:
    // Shows the about window modally and runs `inside` while it is open; `inside` must close
    // it.
    void whileOpen(const std::function<void(ProgramWindow*)>& inside) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            ran = true;
            inside(Windows::Loaded(WindowId::About));
            if (Windows::IsLoaded(WindowId::About)) {
                Windows::Unload(WindowId::About);
            }
        });
        Windows::ShowModal(WindowId::About);
        EXPECT_TRUE(ran);
    }
    QString caption(const char* name) {
        return Control<CaptionLabel>(WindowId::About, name)->caption();
    }

    DesktopRecorder desktop_;
};

// The texts themselves are the form's; what is checked is how they are drawn: carriage returns
// in the title and the list break lines, the paragraphs flow, and the link opens its address.
TEST_F(AboutWindowTest, ItsTextsBreakWhereTheirCarriageReturnsStand) {
    whileOpen([this](ProgramWindow* about) {
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(Control<CaptionLabel>(WindowId::About, "LabelParr3")->text().count('\n'), 5);
        for (const char* name : {"LabelParr1", "LabelParr4", "LabelParr5"}) {
            EXPECT_FALSE(caption(name).contains(QLatin1Char('\r'))) << name;
        }
        auto* link = Control<HyperLinkLabel>(WindowId::About, "HyperLinkLabel1");
        ASSERT_NE(link, nullptr);
        EXPECT_TRUE(link->text().contains(link->palette().color(QPalette::Highlight).name()));
        emit link->linkActivated(link->url().toString());
        ASSERT_EQ(desktop_.opened().size(), 1u);
        EXPECT_EQ(desktop_.opened()[0], QUrl(QStringLiteral("mailto:udd@example.org")));
    });
}

// A modal window of fixed design: nothing reaches out of it, nothing draws over anything else
// (but the link, which takes over where the contact sentence ends), no text is cut off.
TEST_F(AboutWindowTest, IsModalAndItsDesignIsSound) {
    whileOpen([](ProgramWindow* about) {
        EXPECT_FALSE(about->windowFlags() & Qt::WindowMaximizeButtonHint);
        EXPECT_FALSE(about->windowFlags() & Qt::WindowMinimizeButtonHint);
        EXPECT_TRUE(about->windowFlags() & Qt::WindowCloseButtonHint);
        EXPECT_EQ(about->windowModality(), Qt::ApplicationModal);
        EXPECT_EQ(FormLayoutFaults(about, {QStringLiteral("LabelParr5/HyperLinkLabel1")})
                      .join(QLatin1Char('\n')),
                  QString());
        EXPECT_TRUE(Control(WindowId::About, "LabelTit")->font().bold());

        // The contact sentence takes two lines, the second ending left of the link (which
        // starts 439 pixels in).
        auto* label = Control<CaptionLabel>(WindowId::About, "LabelParr5");
        QTextLayout layout(label->text(), label->font());
        QTextOption option;
        option.setWrapMode(QTextOption::WordWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        std::vector<qreal> widths;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(label->width());
            widths.push_back(line.naturalTextWidth());
        }
        layout.endLayout();
        ASSERT_EQ(widths.size(), 2u);
        EXPECT_LT(widths[1], 439 + 4);
        EXPECT_GT(widths[1], 439 - 80);
    });
}

TEST_F(AboutWindowTest, FocusStartsOnCerrarEscDoesNothingEnterOrAltCCloses) {
    whileOpen([](ProgramWindow* about) {
        ASSERT_TRUE(WaitActive(about));
        EXPECT_EQ(about->focusWidget()->objectName(), QStringLiteral("CommandCerrar"));
        EXPECT_EQ(TabCycle(about), (QStringList{"CommandCerrar", "HyperLinkLabel1"}));
        QTest::keyClick(about->focusWidget(), Qt::Key_Escape);
        EXPECT_TRUE(Windows::IsLoaded(WindowId::About));
        QTest::keyClick(about->focusWidget(), Qt::Key_Return);
        EXPECT_FALSE(Windows::IsLoaded(WindowId::About));
    });
    whileOpen([](ProgramWindow* about) {
        ASSERT_TRUE(WaitActive(about));
        PressAccessKey(about, 'C');
        EXPECT_FALSE(Windows::IsLoaded(WindowId::About));
    });
}

TEST_F(AboutWindowTest, ASecondOpeningLoadsAfreshWithTheSameTexts) {
    QString first;
    whileOpen([&](ProgramWindow*) {
        first = caption("LabelParr3") + caption("LabelTit") + caption("LabelParr5");
        Control<CaptionLabel>(WindowId::About, "LabelTit")->setCaption(QStringLiteral("cambiado"));
    });
    whileOpen([&](ProgramWindow*) {
        EXPECT_EQ(caption("LabelParr3") + caption("LabelTit") + caption("LabelParr5"), first);
    });
}

}  // namespace
}  // namespace ponencias::test
