// Square buckets of plan points for the nearest-point searches of the
// writers at the interpolation points.
#include "files/monitoring/plan_buckets.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

void PlanBuckets::clear() {
  items_.clear();
  nx_ = ny_ = 0;
}

void PlanBuckets::add(double x, double y, int key) { items_.push_back({x, y, key}); }

int PlanBuckets::bucketX(double x) const { return std::min(nx_ - 1, static_cast<int>((x - x0_) / size_)); }
int PlanBuckets::bucketY(double y) const { return std::min(ny_ - 1, static_cast<int>((y - y0_) / size_)); }

void PlanBuckets::build() {
  nx_ = ny_ = 0;
  if (items_.empty()) return;
  double xmin = items_[0].x, xmax = xmin, ymin = items_[0].y, ymax = ymin;
  for (const Item &p : items_) {
    xmin = std::min(xmin, p.x);
    xmax = std::max(xmax, p.x);
    ymin = std::min(ymin, p.y);
    ymax = std::max(ymax, p.y);
  }
  // About two points a bucket, at most 4096 buckets a side.
  const double w = std::max(xmax - xmin, 1e-9), h = std::max(ymax - ymin, 1e-9);
  const double side = std::max(std::sqrt(2.0 * w * h / static_cast<double>(items_.size())), 1e-6);
  nx_ = std::min(static_cast<int>(w / side) + 1, 4096);
  ny_ = std::min(static_cast<int>(h / side) + 1, 4096);
  size_ = std::max(w / nx_, h / ny_) * (1.0 + 1e-12) + 1e-12;
  x0_ = xmin;
  y0_ = ymin;
  start_.assign(static_cast<std::size_t>(nx_) * ny_ + 1, 0);
  auto bucketOf = [&](const Item &p) { return static_cast<std::size_t>(bucketY(p.y)) * nx_ + bucketX(p.x); };
  for (const Item &p : items_) ++start_[bucketOf(p) + 1];
  for (std::size_t k = 1; k < start_.size(); ++k) start_[k] += start_[k - 1];
  sorted_.resize(items_.size());
  std::vector<int> &next = start_;  // filled from the front, then shifted back
  for (const Item &p : items_) sorted_[next[bucketOf(p)]++] = p;
  for (std::size_t k = start_.size() - 1; k > 0; --k) start_[k] = start_[k - 1];
  start_[0] = 0;
}

int PlanBuckets::nearest(double x, double y, double limit) const {
  if (nx_ == 0) return -1;
  double best = limit;
  int winner = -1;
  const int ci = static_cast<int>(std::floor((x - x0_) / size_));
  const int cj = static_cast<int>(std::floor((y - y0_) / size_));
  // Only the rings that meet the raster: from the first that reaches it to
  // the last that still touches it.
  const int first = std::max({0, -ci, ci - (nx_ - 1), -cj, cj - (ny_ - 1)});
  const int last = std::max({std::abs(ci), std::abs(ci - (nx_ - 1)), std::abs(cj), std::abs(cj - (ny_ - 1))});
  for (int r = first; r <= last; ++r) {
    // Every point of ring r lies at least (r - 1) bucket sides away.
    if ((r - 1) * size_ > best) break;
    for (int bj = std::max(cj - r, 0); bj <= std::min(cj + r, ny_ - 1); ++bj) {
      auto visit = [&](int bi) {
        const std::size_t b = static_cast<std::size_t>(bj) * nx_ + bi;
        for (int k = start_[b]; k < start_[b + 1]; ++k) {
          const Item &p = sorted_[k];
          const double d = std::sqrt((p.x - x) * (p.x - x) + (p.y - y) * (p.y - y));
          if (d < best || (d == best && winner >= 0 && p.key < winner)) {
            best = d;
            winner = p.key;
          }
        }
      };
      if (r == 0 || bj == cj - r || bj == cj + r) {
        for (int bi = std::max(ci - r, 0); bi <= std::min(ci + r, nx_ - 1); ++bi) visit(bi);
      } else {
        if (ci - r >= 0 && ci - r < nx_) visit(ci - r);
        if (ci + r >= 0 && ci + r < nx_) visit(ci + r);
      }
    }
  }
  return winner;
}
