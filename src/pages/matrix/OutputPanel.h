#pragma once
// The "Output configuration" panel: "Select Output" chooses an output, "All Output" or "Port
// to Port"; buttons 1..8 route that input to the chosen output, or to every output in turn.
// Choosing "Port to Port" routes input n to output n at once.
namespace zentrel {

class MatrixPage;

class OutputPanel {
public:
    explicit OutputPanel(MatrixPage& page);

    // The page's opening: the choices, "Output1" shown.
    void open();
    // "Select Output" confirmed.
    void onChoice();
    // Button "n" (1..8).
    void onButton(int n);

    int choice() const { return choice_; }

private:
    MatrixPage& page_;
    int choice_ = 0; // OutputChoice
};

} // namespace zentrel
