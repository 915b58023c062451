// Nearest-point search in plan over a fixed set of points with keys: the
// points go into square buckets, and a search visits the buckets in rings
// around the query until no nearer point can remain. It gives what a scan in
// key order gives: the smallest distance, the lowest key among equals.
#pragma once

#include <vector>

class PlanBuckets {
 public:
  // Starts a new set; the room stays for the next one.
  void clear();
  // Adds a point; keys need not be added in order.
  void add(double x, double y, int key);
  // Buckets the points added since clear().
  void build();
  // The key of the nearest point strictly nearer than limit, or -1.
  int nearest(double x, double y, double limit) const;

 private:
  struct Item {
    double x, y;
    int key;
  };
  std::vector<Item> items_, sorted_;
  std::vector<int> start_;
  double x0_ = 0.0, y0_ = 0.0, size_ = 1.0;
  int nx_ = 0, ny_ = 0;
  int bucketX(double x) const;
  int bucketY(double y) const;
};
