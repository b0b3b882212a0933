#pragma once

#include "core_global.h"

#include <QList>
#include <QString>
#include <QStringList>

/*!
 * Finds commands by what the user types, for the command palette. A query matches a text when
 * its characters occur in the text in the same order, whatever their case. Better matches rank
 * first: the text begins with the query, then a later word of it does, then the query occurs
 * in it in one piece, then only scattered. A query that the text alone does not match may still
 * match the menus in front of it ("save other" finds "Other Project" under "File ▸ Save As");
 * those rank last. Among equal matches, recently run commands come first, the latest first,
 * then shorter texts, then alphabetical order. An empty query lists every command: the recent
 * ones, then the others alphabetically.
 */
class CORE_EXPORT CommandMatcher
{
public:
    enum Quality { Prefix, WordStart, Contiguous, Scattered, InMenuPath, NoMatch };

    struct Candidate
    {
        QString id;
        QString text;     // as the menus show it, without mnemonic markers
        QString menuPath; // the menus leading to it; empty when no menu shows it
    };

    // How well the query, without leading and trailing spaces, matches the text alone.
    static Quality quality(const QString &strQuery, const QString &strText);
    // The candidates the query matches, best first; recentIds lists the most recent first.
    static QList<Candidate> rank(const QString &strQuery, const QList<Candidate> &candidates,
                                 const QStringList &recentIds);
};
