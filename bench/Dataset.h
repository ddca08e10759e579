#pragma once
// The "ten-year" database of a heavy student times ten, made with the
// program's own store from a fixed seed, so that every run measures the same
// file: 40 semesters of 10 classes each (with colour tags), the assignments
// (30,000 times the size factor), 10,000 calendar items, 5,000 tasks,
// 200 quizzes of 50 questions and 1,000 contacts.
#include <QDate>
#include <QString>

namespace Dataset {

struct Shape {
    int factor = 1; // times the assignments
    int semesters = 40;
    int classesPerSemester = 10;
    int assignments() const { return 30000 * factor; }
    int calendarItems = 10000;
    int tasks = 5000;
    int quizzes = 200;
    int questionsPerQuiz = 50;
    int contacts = 1000;
};

// The day the benchmark takes for today: assignments are due, calendar
// items and tasks are dated on it.
QDate today();
// The semester and class the settings name as the last ones used.
QString lastSemester();
QString lastClass();
// A word found in many assignment titles.
QString searchWord();
// A word found in no title and no comment.
QString absentWord();

// Makes folder/tarvela.mdb and folder/config/tarvela-desk/*.ini for the
// shape, unless the folder already holds them from the same generator.
// Returns false (with the reason) on failure.
bool ensure(const QString &folder, const Shape &shape, QString *error);

// The settings files the folder holds, to be copied beside the database.
QString configFolder(const QString &folder);

} // namespace Dataset
