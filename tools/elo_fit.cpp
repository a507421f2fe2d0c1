#include "tools/elo_fit.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace vexa::tools {

namespace {

using Matrix = std::vector<std::vector<double>>;

// Ratings are fitted in natural log-odds and shown in Elo.
const double kEloPerUnit = 400.0 / std::log(10.0);
// Both sides of a 95 % interval, and the likelihood left at a lower bound.
constexpr double kTwoSided = 1.959964;
constexpr double kOneSidedLevel = 0.05;

double Chance(double d) {
  return 1.0 / (1.0 + std::exp(-d));
}

// The inverse of a small positive definite matrix (Gauss-Jordan).
Matrix Inverse(Matrix a) {
  const std::size_t n = a.size();
  Matrix inv(n, std::vector<double>(n, 0.0));
  for (std::size_t i = 0; i < n; ++i)
    inv[i][i] = 1.0;
  for (std::size_t c = 0; c < n; ++c) {
    std::size_t pivot = c;
    for (std::size_t r = c + 1; r < n; ++r) {
      if (std::abs(a[r][c]) > std::abs(a[pivot][c])) pivot = r;
    }
    std::swap(a[c], a[pivot]);
    std::swap(inv[c], inv[pivot]);
    const double d = a[c][c];
    for (std::size_t k = 0; k < n; ++k) {
      a[c][k] /= d;
      inv[c][k] /= d;
    }
    for (std::size_t r = 0; r < n; ++r) {
      if (r == c || a[r][c] == 0.0) continue;
      const double f = a[r][c];
      for (std::size_t k = 0; k < n; ++k) {
        a[r][k] -= f * a[c][k];
        inv[r][k] -= f * inv[c][k];
      }
    }
  }
  return inv;
}

struct GroupFit {
  std::vector<double> rating;    // natural units, the group's first member at 0
  std::vector<double> variance;  // of each rating relative to that member
};

// Newton's method on the log-likelihood of the games inside one group,
// where every member took points from every other through some chain (so
// the maximum exists).
GroupFit FitGroup(const std::vector<int>& members, const std::vector<std::vector<double>>& points,
                  const std::vector<std::vector<int>>& games) {
  const std::size_t n = members.size();
  GroupFit fit{std::vector<double>(n, 0.0), std::vector<double>(n, 0.0)};
  if (n == 1) return fit;
  Matrix covariance;
  for (int iteration = 0; iteration < 100; ++iteration) {
    // Gradient and information of the free ratings 1..n-1.
    std::vector<double> gradient(n - 1, 0.0);
    Matrix information(n - 1, std::vector<double>(n - 1, 0.0));
    for (std::size_t a = 0; a < n; ++a) {
      for (std::size_t b = 0; b < n; ++b) {
        const int i = members[a];
        const int j = members[b];
        if (a == b || games[i][j] == 0) continue;
        const double p = Chance(fit.rating[a] - fit.rating[b]);
        const double weight = games[i][j] * p * (1 - p);
        if (a > 0) {
          gradient[a - 1] += points[i][j] - games[i][j] * p;
          information[a - 1][a - 1] += weight;
          if (b > 0) information[a - 1][b - 1] -= weight;
        }
      }
    }
    covariance = Inverse(information);
    double largest = 0;
    for (std::size_t a = 0; a + 1 < n; ++a) {
      double step = 0;
      for (std::size_t b = 0; b + 1 < n; ++b)
        step += covariance[a][b] * gradient[b];
      step = std::clamp(step, -2.0, 2.0);
      fit.rating[a + 1] += step;
      largest = std::max(largest, std::abs(step));
    }
    if (largest < 1e-10) break;
  }
  for (std::size_t a = 1; a < n; ++a)
    fit.variance[a] = covariance[a - 1][a - 1];
  return fit;
}

}  // namespace

std::vector<EloRating> FitElo(const std::vector<std::vector<double>>& points,
                              const std::vector<std::vector<int>>& games, int anchor) {
  const std::size_t n = points.size();
  // reach[i][j]: a chain of players, each of whom took points from the
  // next, leads from i to j. Players reaching each other form a group.
  std::vector<std::vector<bool>> reach(n, std::vector<bool>(n, false));
  for (std::size_t i = 0; i < n; ++i) {
    reach[i][i] = true;
    for (std::size_t j = 0; j < n; ++j)
      reach[i][j] = reach[i][j] || (games[i][j] > 0 && points[i][j] > 0);
  }
  for (std::size_t k = 0; k < n; ++k) {
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = 0; j < n; ++j)
        reach[i][j] = reach[i][j] || (reach[i][k] && reach[k][j]);
    }
  }

  std::vector<EloRating> out(n);
  std::vector<double> rating(n, 0.0);  // natural units, once rated
  std::vector<bool> placed(n, false);
  bool progress = true;
  bool first = true;
  while (progress) {
    progress = false;
    for (std::size_t seed = 0; seed < n; ++seed) {
      if (placed[seed]) continue;
      if (first && seed != static_cast<std::size_t>(anchor)) continue;
      std::vector<int> group;
      for (std::size_t j = 0; j < n; ++j) {
        if (!placed[j] && reach[seed][j] && reach[j][seed]) group.push_back(static_cast<int>(j));
      }
      if (first) std::swap(*std::find(group.begin(), group.end(), anchor), group.front());
      // Games between the group and the players rated already.
      double link_points = 0;
      int link_games = 0;
      for (const int i : group) {
        for (std::size_t j = 0; j < n; ++j) {
          if (!placed[j]) continue;
          link_points += points[i][j];
          link_games += games[i][j];
        }
      }
      if (!first && link_games == 0) continue;
      // Bounds are placed from the anchor outwards: a group above waits for
      // every group it took points from, a group below for every group
      // that took points from it.
      bool waits = false;
      for (const int i : group) {
        for (std::size_t j = 0; j < n; ++j) {
          if (placed[j] || std::find(group.begin(), group.end(), j) != group.end()) continue;
          waits = waits || (link_points > 0 ? points[i][j] > 0 : points[j][i] > 0);
        }
      }
      if (!first && waits) continue;
      const GroupFit fit = FitGroup(group, points, games);
      double shift = 0;
      EloRating::Bound bound = EloRating::Bound::None;
      if (!first) {
        // One group never scores against the other: the likelihood of that
        // grows without end with the distance, so take the distance at
        // which it falls to 5 %. A group that never won gets an upper one.
        const bool above = link_points > 0;
        const auto log_likelihood = [&](double delta) {
          double sum = 0;
          for (std::size_t a = 0; a < group.size(); ++a) {
            for (std::size_t j = 0; j < n; ++j) {
              if (!placed[j] || games[group[a]][j] == 0) continue;
              const double d = fit.rating[a] + delta - rating[j];
              sum += games[group[a]][j] * std::log(Chance(above ? d : -d));
            }
          }
          return sum;
        };
        double low = -50.0;
        double high = 50.0;
        for (int k = 0; k < 200; ++k) {
          const double mid = (low + high) / 2;
          const bool likely = log_likelihood(mid) > std::log(kOneSidedLevel);
          if (likely == above) {
            high = mid;
          } else {
            low = mid;
          }
        }
        // Groups placed later are rated against this bound.
        shift = (low + high) / 2;
        bound = above ? EloRating::Bound::Lower : EloRating::Bound::Upper;
      }
      for (std::size_t a = 0; a < group.size(); ++a) {
        const int i = group[a];
        rating[i] = fit.rating[a] + shift;
        placed[i] = true;
        EloRating& r = out[static_cast<std::size_t>(i)];
        r.rated = true;
        r.elo = rating[i] * kEloPerUnit;
        const double half = kTwoSided * std::sqrt(fit.variance[a]) * kEloPerUnit;
        r.low = r.elo - half;
        r.high = r.elo + half;
        r.bound = bound;
        if (bound != EloRating::Bound::None) r.low = r.high = r.elo;
      }
      first = false;
      progress = true;
    }
  }
  return out;
}

}  // namespace vexa::tools
