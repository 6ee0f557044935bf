// A scripted stand-in for the user: answers are queued before a command
// runs, and every question and message the program puts is recorded.
#pragma once

#include "gui/shell/prompts.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class FakePrompts : public qmx::Prompts {
public:
    // Answers, taken in order; an empty queue answers No / cancel.
    QList<bool> confirmAnswers;
    QList<std::optional<QString>> inputAnswers;
    QList<std::optional<QString>> openAnswers;
    QList<std::optional<QString>> saveAnswers;
    QList<std::optional<QString>> folderAnswers;

    // What was asked or shown.
    QStringList confirms;
    QStringList inputs; // "caption|prompt"
    QList<qmx::FileDialogOptions> opens;
    QList<qmx::FileDialogOptions> saves;
    QStringList errors;
    QStringList infos;

    bool confirm(const QString& text) override
    {
        confirms << text;
        return !confirmAnswers.isEmpty() && confirmAnswers.takeFirst();
    }
    std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                     const QString&) override
    {
        inputs << caption + QLatin1Char('|') + prompt;
        return inputAnswers.isEmpty() ? std::nullopt : inputAnswers.takeFirst();
    }
    std::optional<QString> openFile(const qmx::FileDialogOptions& dialog) override
    {
        opens << dialog;
        return openAnswers.isEmpty() ? std::nullopt : openAnswers.takeFirst();
    }
    std::optional<QString> saveFile(const qmx::FileDialogOptions& dialog) override
    {
        saves << dialog;
        return saveAnswers.isEmpty() ? std::nullopt : saveAnswers.takeFirst();
    }
    std::optional<QString> openFolder(const QString&) override
    {
        return folderAnswers.isEmpty() ? std::nullopt : folderAnswers.takeFirst();
    }
    void error(const QString& text) override { errors << text; }
    void information(const QString& text) override { infos << text; }
};
