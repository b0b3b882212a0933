#include "commandmatcher.h"

#include <algorithm>
#include <climits>
#include <tuple>

namespace {
bool startsWord(const QString &text, int at)
{
    return at == 0 || !text.at(at - 1).isLetterOrNumber();
}

bool isSubsequence(const QString &query, const QString &text)
{
    int at = 0;
    for (const QChar c : query) {
        const QChar folded = c.toCaseFolded();
        while (at < text.size() && text.at(at).toCaseFolded() != folded)
            ++at;
        if (at++ == text.size())
            return false;
    }
    return true;
}

CommandMatcher::Quality qualityWithMenus(const QString &query,
                                         const CommandMatcher::Candidate &candidate)
{
    const CommandMatcher::Quality quality = CommandMatcher::quality(query, candidate.text);
    if (quality != CommandMatcher::NoMatch || candidate.menuPath.isEmpty())
        return quality;
    return isSubsequence(query.trimmed(), candidate.menuPath + QLatin1Char(' ') + candidate.text)
                   ? CommandMatcher::InMenuPath
                   : CommandMatcher::NoMatch;
}
} // namespace

CommandMatcher::Quality CommandMatcher::quality(const QString &strQuery, const QString &strText)
{
    const QString query = strQuery.trimmed();
    Quality best = NoMatch;
    for (int at = strText.indexOf(query, 0, Qt::CaseInsensitive); at >= 0;
         at = strText.indexOf(query, at + 1, Qt::CaseInsensitive)) {
        if (at == 0)
            return Prefix;
        best = std::min(best, startsWord(strText, at) ? WordStart : Contiguous);
    }
    if (best == NoMatch && isSubsequence(query, strText))
        return Scattered;
    return best;
}

QList<CommandMatcher::Candidate> CommandMatcher::rank(const QString &strQuery,
                                                      const QList<Candidate> &candidates,
                                                      const QStringList &recentIds)
{
    // Lower sorts earlier: match quality, then recency, then length (not for the empty query,
    // which lists everything), then the text itself.
    using Key = std::tuple<Quality, int, int, QString, QString>;
    const bool byLength = !strQuery.trimmed().isEmpty();
    QList<QPair<Key, Candidate>> matches;
    for (const Candidate &candidate : candidates) {
        const Quality quality = qualityWithMenus(strQuery, candidate);
        if (quality == NoMatch)
            continue;
        const int recency = recentIds.indexOf(candidate.id);
        matches.append(
                {Key(quality, recency < 0 ? INT_MAX : recency, byLength ? candidate.text.size() : 0,
                     candidate.text.toCaseFolded(), candidate.id),
                 candidate});
    }
    std::sort(matches.begin(), matches.end(),
              [](const auto &a, const auto &b) { return a.first < b.first; });
    QList<Candidate> ranked;
    for (const auto &match : qAsConst(matches))
        ranked.append(match.second);
    return ranked;
}
