// SPDX-License-Identifier: Apache-2.0
#ifndef VANTOR_NUMERIC_MINIMISER_H
#define VANTOR_NUMERIC_MINIMISER_H

namespace vantor::detail {

// Function to minimise. Reads the trial parameters (without keeping a pointer to them), writes the
// result record that belongs to them into record (a buffer of at least minimiser::resultsize
// bytes) and returns the value to minimise: smaller is better, and NaN never wins a comparison.
using objective_fn = double (*)(const double* parameters, void* context, void* record);

// Derivative-free minimiser over 1 to 32 bounded parameters: a coordinate search with a
// parabolic line search.
//
// A sweep runs one line search per parameter, in order. The line search evaluates both ends of
// the parameter's bracket, fits a parabola through them and the current point and evaluates its
// vertex too when the vertex lies inside the bracket and away from the current value. The lowest
// of these values becomes current if it is strictly below the current one; ties go to the earlier
// candidate (lower end, upper end, vertex), and the current point wins every tie. After each sweep
// every bracket is halved and re-centred on the current value, so from the second sweep on the
// search can leave the bounds the caller gave.
//
// Stopping rule: a sweep is within tolerance when its final value differs by less than tolerance
// from the reference value (the start value, replaced by the final value of each sweep within
// tolerance). The search stops after two consecutive sweeps within tolerance, which can only be
// the first two since the value never rises; otherwise it stops after the tenth sweep.
//
// The outcome is the result record of the best evaluation, not the parameter values.
struct minimiser {
    // The settings init() gives. They are part of what every circle fit computes (its results
    // and trace lines are pinned by tests), so they are fixed rather than tuned: coarse on
    // purpose, since the fits refine the minimiser's result with an exact solver.
    static constexpr double default_tolerance = 1e-4;
    static constexpr double default_separation = 1e-9;

    double tolerance;   // stopping threshold on the change of the objective value
    double separation;  // least distance of a tried vertex from the lower end and current value
    objective_fn objective;
    void* context;       // passed to every objective call
    void* result;        // the caller's record; receives the record of the best evaluation
    int resultsize;      // bytes in one result record, at most 128
    double best;         // objective value at the current parameters
    double* parameters;  // the current parameters while minimise runs

    // Sets tolerance and separation to their defaults, the objective and the size of one result
    // record (at most 128 bytes). Call once before minimise.
    void init(objective_fn objective, int resultsize);

    // Minimises over n parameters (1..32) from start within the brackets [lower[i], upper[i]].
    // A pair with lower[i] > upper[i] is exchanged in the caller's arrays; a bound equal to the
    // start is allowed. Evaluates the start first, writing its record straight into result, then
    // runs the sweeps; result always holds the record of the best evaluation so far. On return
    // lower and upper hold the brackets of the last sweep, halved after it unless the search
    // stopped early.
    //
    // n outside 1..32, or a start value outside its (ordered) bounds, returns at once without any
    // evaluation and leaves result unwritten; pairs checked before the offending one stay
    // exchanged. Uses at most 1 + 30 * n objective calls and no heap memory.
    void minimise(const double* start, double* lower, double* upper, int n, void* context,
                  void* result);

  private:
    // One line search on parameter index over the bracket [low, high].
    void linesearch(int index, double low, double high);
};

}  // namespace vantor::detail

#endif  // VANTOR_NUMERIC_MINIMISER_H
