#pragma once
// The main window's Quizzer commands. Each hides the main window, opens its
// window and brings the main window back on every way out; neither lets a
// run-time error escape.
namespace Quizzer {

// Quizzer > Quiz Builder.
void openQuizBuilder();
// Quizzer > Take a Quiz.
void takeAQuiz();

} // namespace Quizzer
