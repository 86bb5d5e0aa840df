// What the desktop program shows during a stepped run, from the same core
// built natively: the browser test compares the page with it.
//   steptrace ROW RECITATION   (RECITATION: 0 or 1)
// prints, after each press of "ひとつずつ" until the run ends, the three
// labels and the step's announcement, separated by tabs.
#include "drillform.h"
#include "formview.h"

#include <array>
#include <iostream>
#include <string>

namespace {

class TraceView final : public FormView {
public:
    std::array<std::string, 5> labels;
    std::string announcement;

    void showLabel(int number, const std::string &text) override { labels.at(number) = text; }
    void showCheckBox(int, bool) override {}
    void showRadioButton(int) override {}
    void showListItem(int) override {}
    void announce(const std::string &text) override { announcement = text; }
    void armTimer(std::optional<TimePoint>) override {}
    void closeWindow() override {}
};

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::cerr << "usage: steptrace ROW RECITATION\n";
        return 2;
    }
    TraceView view;
    const SteadyClock clock;
    DrillForm form(view, clock, [] { return 1; });
    form.checkBoxChanged(std::stoi(argv[1]), true);
    form.checkBoxChanged(11, std::string(argv[2]) == "1");
    do {
        view.announcement.clear();
        form.Button3Click();
        std::cout << view.labels[1] << '\t' << view.labels[3] << '\t' << view.labels[4] << '\t' << view.announcement
                  << '\n';
    } while (form.run().stepMode());
    return 0;
}
