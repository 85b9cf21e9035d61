// The playtest's figures: spreads over the games, the deadliest sectors, the report and the JSON.
#include "playtest/playtest_report.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>

namespace krello::playtest {
namespace {

constexpr size_t DEADLIEST = 10;
constexpr size_t TARGET_PLACES = 8;

std::string format(const char* pattern, double v) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, v);
    return text;
}

std::string seconds(uint32_t ms) { return format("%.3f", ms / 1000.0); }

// m:ss.s, for a reader.
std::string clock(uint32_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%u:%04.1f", ms / 60000, (ms % 60000) / 1000.0);
    return text;
}

std::string jsonString(const std::string& s) {
    std::string out = "\"";
    for (const char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
            out += code;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string areaName(const LevelAreas& areas, int sector) {
    const int area = areas.areaOfSector(sector);
    return area >= 0 ? areas.names[static_cast<size_t>(area)] : std::string();
}

double span(const MapPoint& a, const MapPoint& b) {
    const double dx = static_cast<double>(a.x) - b.x, dy = static_cast<double>(a.y) - b.y;
    return std::sqrt(dx * dx + dy * dy);
}

// "128 the courtyard (5120, 50000)"
std::string place(const LevelAreas& areas, const MapPoint& p) {
    const std::string name = areaName(areas, p.sector);
    return std::to_string(p.sector) + (name.empty() || !areas.named ? "" : " " + name) + " (" + std::to_string(p.x) +
           ", " + std::to_string(p.y) + ")";
}

std::string spreadJson(const Spread& s) {
    return "{\"q1\": " + format("%.3f", s.q1) + ", \"median\": " + format("%.3f", s.median) +
           ", \"q3\": " + format("%.3f", s.q3) + "}";
}

std::string pointJson(const LevelAreas& areas, const MapPoint& p) {
    return "\"x\": " + std::to_string(p.x) + ", \"y\": " + std::to_string(p.y) + ", \"sector\": " +
           std::to_string(p.sector) + ", \"area\": " + jsonString(areaName(areas, p.sector));
}

std::string gameJson(const GameRecord& r, int index, const LevelAreas& areas) {
    std::string j = "    {\"game\": " + std::to_string(index) + ", \"seed\": " + std::to_string(r.seed) +
                    ", \"survival_seconds\": " + seconds(r.survivalMs) +
                    ", \"game_over\": " + (r.gameOver ? "true" : "false") + ", \"score\": " + std::to_string(r.score) +
                    ", \"areas_reached\": " + std::to_string(r.areasReached) +
                    ", \"areas_total\": " + std::to_string(r.areasTotal) +
                    ", \"sectors_reached\": " + std::to_string(r.sectorsReached) +
                    ", \"updates\": " + std::to_string(r.updates) + ", \"kills\": " + std::to_string(r.kills.size()) +
                    ", \"lost_seconds\": " + seconds(r.lostMs);
    const ShotTally& t = r.shots;
    j += ",\n     \"shots\": {\"fired\": " + std::to_string(t.fired) +
         ", \"reached_enemy_sector\": " + std::to_string(t.reachedEnemySector) + ", \"hits\": " + std::to_string(t.hits) +
         ", \"ended_wall\": " + std::to_string(t.endedWall) + ", \"ended_height\": " + std::to_string(t.endedHeight) +
         ", \"ended_time\": " + std::to_string(t.endedTime) + ", \"ended_hit\": " + std::to_string(t.endedHit) +
         ", \"no_enemy_in_line\": " + std::to_string(t.noEnemyInLine) +
         ", \"target_out_of_height\": " + std::to_string(t.targetOutOfHeight) +
         ", \"target_other_sector\": " + std::to_string(t.targetOtherSector) +
         ", \"first_shot_seconds\": " + seconds(t.firstShotMs) + "}";
    j += ",\n     \"areas\": [";
    bool first = true;
    for (size_t a = 0; a < r.areas.size(); ++a) {
        if (!r.areas[a]) continue;
        j += (first ? "" : ", ") + jsonString(areas.names[a]);
        first = false;
    }
    j += "],\n     \"death\": ";
    if (r.died) {
        j += "{" + pointJson(areas, r.death.player) + ", \"shooter\": {" + pointJson(areas, r.death.shooter) +
             ", \"known\": " + (r.death.shooterKnown ? "true" : "false") + "}, \"distance\": " +
             std::to_string(static_cast<long>(span(r.death.player, r.death.shooter))) + "}";
    } else {
        j += "null";
    }
    j += ",\n     \"lost\": ";
    j += r.lost ? "{" + pointJson(areas, r.firstLost.at) + ", \"held_sector\": " + std::to_string(r.firstLost.heldSector) + "}"
                : std::string("null");
    j += ",\n     \"kill_places\": [";
    for (size_t k = 0; k < r.kills.size(); ++k)
        j += (k ? ", [" : "[") + std::to_string(r.kills[k].x) + ", " + std::to_string(r.kills[k].y) + ", " +
             std::to_string(r.kills[k].sector) + "]";
    return j + "]}";
}

}  // namespace

Spread spreadOf(std::vector<double> values) {
    Spread s;
    if (values.empty()) return s;
    std::sort(values.begin(), values.end());
    auto at = [&](double fraction) {
        const double h = fraction * static_cast<double>(values.size() - 1);
        const size_t low = static_cast<size_t>(h);
        const size_t high = std::min(low + 1, values.size() - 1);
        return values[low] + (h - static_cast<double>(low)) * (values[high] - values[low]);
    };
    s.q1 = at(0.25);
    s.median = at(0.5);
    s.q3 = at(0.75);
    return s;
}

PlaytestSummary summarize(const std::vector<GameRecord>& games, const LevelAreas& areas) {
    PlaytestSummary s;
    s.games = static_cast<int>(games.size());
    s.areaGames.assign(static_cast<size_t>(areas.count()), 0);
    std::vector<double> survival, score, reached, sectors;
    std::map<int, SectorDeaths> deaths;
    std::map<int, std::map<int, int>> from;
    std::map<int, int> lost;
    for (const GameRecord& r : games) {
        survival.push_back(r.survivalMs / 1000.0);
        score.push_back(r.score);
        reached.push_back(r.areasReached);
        sectors.push_back(r.sectorsReached);
        if (r.gameOver) ++s.gamesOver;
        if (r.score > 0) ++s.gamesScored;
        for (size_t a = 0; a < r.areas.size() && a < s.areaGames.size(); ++a)
            if (r.areas[a]) ++s.areaGames[a];
        if (r.lost) {
            ++s.gamesLost;
            ++lost[r.firstLost.at.sector];
        }
        if (!r.died) continue;
        SectorDeaths& d = deaths[r.death.player.sector];
        d.sector = r.death.player.sector;
        ++d.deaths;
        ++from[d.sector][r.death.shooter.sector];
    }
    std::vector<double> distances;
    std::array<int, SECTOR_COUNT> aimed{}, outOfHeight{}, firedFrom{};
    for (const GameRecord& r : games) {
        const ShotTally& t = r.shots;
        ShotTally& sum = s.shots;
        sum.fired += t.fired;
        sum.reachedEnemySector += t.reachedEnemySector;
        sum.hits += t.hits;
        sum.endedWall += t.endedWall;
        sum.endedHeight += t.endedHeight;
        sum.endedTime += t.endedTime;
        sum.endedHit += t.endedHit;
        sum.noEnemyInLine += t.noEnemyInLine;
        sum.targetOutOfHeight += t.targetOutOfHeight;
        sum.targetOtherSector += t.targetOtherSector;
        if (t.fired == 0) ++s.gamesWithoutShot;
        for (const int32_t d : t.targetDistances) distances.push_back(d);
        for (size_t k = 0; k < aimed.size(); ++k) {
            aimed[k] += t.targetSectors[k];
            outOfHeight[k] += t.outOfHeightSectors[k];
            firedFrom[k] += t.firedFrom[k];
        }
    }
    s.targetDistance = spreadOf(distances);
    for (size_t k = 0; k < aimed.size(); ++k)
        if (aimed[k] > 0) s.targets.push_back({static_cast<int>(k), aimed[k], outOfHeight[k]});
    // Most first, ties by sector: a full order, so a plain sort gives the same list every time.
    std::sort(s.targets.begin(), s.targets.end(),
              [](const auto& a, const auto& b) { return a.shots != b.shots ? a.shots > b.shots : a.sector < b.sector; });
    if (s.targets.size() > TARGET_PLACES) s.targets.resize(TARGET_PLACES);
    for (size_t k = 0; k < firedFrom.size(); ++k)
        if (firedFrom[k] > 0) s.firedFrom.emplace_back(static_cast<int>(k), firedFrom[k]);
    std::sort(s.firedFrom.begin(), s.firedFrom.end(),
              [](const auto& a, const auto& b) { return a.second != b.second ? a.second > b.second : a.first < b.first; });
    if (s.firedFrom.size() > TARGET_PLACES) s.firedFrom.resize(TARGET_PLACES);
    s.survivalSeconds = spreadOf(survival);
    s.score = spreadOf(score);
    s.areasReached = spreadOf(reached);
    s.sectorsReached = spreadOf(sectors);
    for (auto& [sector, d] : deaths) {
        for (const auto& [shooter, count] : from[sector]) d.shotFrom.emplace_back(shooter, count);
        std::stable_sort(d.shotFrom.begin(), d.shotFrom.end(),
                         [](const auto& a, const auto& b) { return a.second > b.second; });
        s.deadliest.push_back(d);
    }
    std::stable_sort(s.deadliest.begin(), s.deadliest.end(),
                     [](const SectorDeaths& a, const SectorDeaths& b) { return a.deaths > b.deaths; });
    if (s.deadliest.size() > DEADLIEST) s.deadliest.resize(DEADLIEST);
    for (const auto& [sector, count] : lost) s.lostFrom.emplace_back(sector, count);
    std::stable_sort(s.lostFrom.begin(), s.lostFrom.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    return s;
}

std::string reportText(const PlaytestHeading& h, const std::vector<GameRecord>& games, const PlaytestSummary& s,
                       const LevelAreas& areas) {
    std::string t = "playtest: " + std::to_string(s.games) + " " + h.skill + (s.games == 1 ? " game of " : " games of ") + std::to_string(h.minutes) +
                    (h.minutes == 1 ? " minute on " : " minutes on ") + h.level + ", seeds " + std::to_string(h.seed) + ".." +
                    std::to_string(h.seed + static_cast<uint64_t>(std::max(s.games, 1) - 1)) + "\n" + "areas: " +
                    std::to_string(areas.count()) + " " + h.areasFrom + "\n\n";
    t += "game        seed  survival  over  score  areas  sectors  lost  died at / fatal shot from\n";
    for (size_t i = 0; i < games.size(); ++i) {
        const GameRecord& r = games[i];
        char line[160];
        std::snprintf(line, sizeof line, "%4zu %11llu %9s  %4s %6d %3d/%-3d %7d %5.0f  ", i + 1,
                      static_cast<unsigned long long>(r.seed), clock(r.survivalMs).c_str(), r.gameOver ? "yes" : "no",
                      static_cast<int>(r.score), r.areasReached, r.areasTotal, r.sectorsReached, r.lostMs / 1000.0);
        t += line;
        if (r.died) {
            t += place(areas, r.death.player) + " / " + place(areas, r.death.shooter) +
                 (r.death.shooterKnown ? "" : " (first seen there)") + ", " +
                 std::to_string(static_cast<long>(span(r.death.player, r.death.shooter))) + " away";
        } else {
            t += "-";
        }
        t += "\n";
    }
    t += "\n                      q1   median       q3\n";
    auto row = [&](const char* name, const Spread& v, const std::string& after) {
        char line[128];
        std::snprintf(line, sizeof line, "%-16s %8.1f %8.1f %8.1f%s\n", name, v.q1, v.median, v.q3, after.c_str());
        t += line;
    };
    row("survival (s)", s.survivalSeconds, "");
    row("score", s.score, "");
    row("areas reached", s.areasReached, "   of " + std::to_string(areas.count()));
    row("sectors reached", s.sectorsReached, "");
    t += "games over: " + std::to_string(s.gamesOver) + " of " + std::to_string(s.games) +
         "; games that scored: " + std::to_string(s.gamesScored) + " of " + std::to_string(s.games) + "\n";
    t += "games in which the player left the sector the game held (and walked through walls): " +
         std::to_string(s.gamesLost);
    for (size_t k = 0; k < s.lostFrom.size(); ++k)
        t += (k ? ", " : "; it began in sector ") + std::to_string(s.lostFrom[k].first) + ": " +
             std::to_string(s.lostFrom[k].second);
    const ShotTally& st = s.shots;
    t += "\n\nthe player's shots: " + std::to_string(st.fired) + " fired, " + std::to_string(st.reachedEnemySector) +
         " reached a sector where an enemy stood, " + std::to_string(st.hits) + " hits; games that fired none: " +
         std::to_string(s.gamesWithoutShot) + "\n  ended: at a wall " + std::to_string(st.endedWall) +
         ", at a floor or ceiling on the way " + std::to_string(st.endedHeight) + ", out of time " +
         std::to_string(st.endedTime) + ", in a hit " + std::to_string(st.endedHit) +
         "\n  fired at: no enemy within 15 degrees " + std::to_string(st.noEnemyInLine) +
         ", an enemy out of reach in height " + std::to_string(st.targetOutOfHeight) + ", an enemy in another sector " +
         std::to_string(st.targetOtherSector) + "; distance to it q1 / median / q3 " +
         format("%.0f", s.targetDistance.q1) + " / " + format("%.0f", s.targetDistance.median) + " / " +
         format("%.0f", s.targetDistance.q3) + "\n  where the enemies shot at stood (shots, of them out of reach in height):";
    for (const auto& p : s.targets) {
        t += "\n  " + format("%6.0f", p.shots) + "  sector " + std::to_string(p.sector) +
             (areas.named ? " " + areaName(areas, p.sector) : std::string()) + ": " + std::to_string(p.outOfHeight);
    }
    t += "\n  where the player stood to fire at them:";
    for (const auto& [sector, shots] : s.firedFrom)
        t += "\n  " + format("%6.0f", shots) + "  sector " + std::to_string(sector) +
             (areas.named ? " " + areaName(areas, sector) : std::string());
    t += "\n\nsectors with most deaths (fatal shots from sector: count)\n";
    if (s.deadliest.empty()) t += "  none\n";
    for (const SectorDeaths& d : s.deadliest) {
        char line[96];
        std::snprintf(line, sizeof line, "%6d  sector %3d  %-36s ", d.deaths, d.sector,
                      areas.named ? areaName(areas, d.sector).c_str() : "");
        t += line;
        for (size_t k = 0; k < d.shotFrom.size(); ++k)
            t += (k ? ", " : "") + std::to_string(d.shotFrom[k].first) + ": " + std::to_string(d.shotFrom[k].second);
        t += "\n";
    }
    if (areas.named) {
        t += "\nareas by the games that reached them\n";
        std::vector<int> order(static_cast<size_t>(areas.count()));
        for (int a = 0; a < areas.count(); ++a) order[static_cast<size_t>(a)] = a;
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return s.areaGames[static_cast<size_t>(a)] > s.areaGames[static_cast<size_t>(b)];
        });
        for (int a : order) {
            char line[96];
            std::snprintf(line, sizeof line, "%6d  %s\n", s.areaGames[static_cast<size_t>(a)],
                          areas.names[static_cast<size_t>(a)].c_str());
            t += line;
        }
    } else {
        int never = 0;
        for (int n : s.areaGames) never += n == 0;
        t += "\nsectors no game reached: " + std::to_string(never) + " of " + std::to_string(areas.count()) + "\n";
    }
    return t;
}

std::string reportJson(const PlaytestHeading& h, const std::vector<GameRecord>& games, const PlaytestSummary& s,
                       const LevelAreas& areas) {
    std::string j = "{\n  \"skill\": " + jsonString(h.skill) + ", \"minutes\": " + std::to_string(h.minutes) +
                    ", \"seed\": " + std::to_string(h.seed) + ", \"level\": " + jsonString(h.level) +
                    ",\n  \"areas_named\": " + (areas.named ? "true" : "false") + ", \"areas_from\": " +
                    jsonString(h.areasFrom) + ",\n  \"games\": [\n";
    for (size_t i = 0; i < games.size(); ++i)
        j += gameJson(games[i], static_cast<int>(i + 1), areas) + (i + 1 < games.size() ? ",\n" : "\n");
    j += "  ],\n  \"summary\": {\n    \"games\": " + std::to_string(s.games) +
         ", \"games_over\": " + std::to_string(s.gamesOver) + ", \"games_scored\": " + std::to_string(s.gamesScored) +
         ", \"games_lost\": " + std::to_string(s.gamesLost) +
         ",\n    \"shots\": {\"fired\": " + std::to_string(s.shots.fired) +
         ", \"reached_enemy_sector\": " + std::to_string(s.shots.reachedEnemySector) +
         ", \"hits\": " + std::to_string(s.shots.hits) + ", \"ended_wall\": " + std::to_string(s.shots.endedWall) +
         ", \"ended_height\": " + std::to_string(s.shots.endedHeight) + ", \"ended_time\": " +
         std::to_string(s.shots.endedTime) + ", \"ended_hit\": " + std::to_string(s.shots.endedHit) +
         ", \"no_enemy_in_line\": " + std::to_string(s.shots.noEnemyInLine) +
         ", \"target_out_of_height\": " + std::to_string(s.shots.targetOutOfHeight) +
         ", \"target_other_sector\": " + std::to_string(s.shots.targetOtherSector) +
         ", \"games_without_shot\": " + std::to_string(s.gamesWithoutShot) +
         ", \"target_distance\": " + spreadJson(s.targetDistance) + "}" +
         ",\n    \"survival_seconds\": " + spreadJson(s.survivalSeconds) + ",\n    \"score\": " + spreadJson(s.score) +
         ",\n    \"areas_reached\": " + spreadJson(s.areasReached) +
         ",\n    \"sectors_reached\": " + spreadJson(s.sectorsReached) + ",\n    \"deadliest_sectors\": [";
    for (size_t k = 0; k < s.deadliest.size(); ++k) {
        const SectorDeaths& d = s.deadliest[k];
        j += std::string(k ? ",\n      " : "\n      ") + "{\"sector\": " + std::to_string(d.sector) +
             ", \"area\": " + jsonString(areaName(areas, d.sector)) + ", \"deaths\": " + std::to_string(d.deaths) +
             ", \"shot_from\": [";
        for (size_t m = 0; m < d.shotFrom.size(); ++m)
            j += std::string(m ? ", " : "") + "{\"sector\": " + std::to_string(d.shotFrom[m].first) +
                 ", \"deaths\": " + std::to_string(d.shotFrom[m].second) + "}";
        j += "]}";
    }
    j += "],\n    \"area_games\": [";
    for (int a = 0; a < areas.count(); ++a)
        j += std::string(a ? ",\n      " : "\n      ") + "{\"area\": " + jsonString(areas.names[static_cast<size_t>(a)]) +
             ", \"games\": " + std::to_string(s.areaGames[static_cast<size_t>(a)]) + "}";
    return j + "]\n  }\n}\n";
}

}  // namespace krello::playtest
