// SPDX-License-Identifier: Apache-2.0
// The step LP and the optimality certificate of the minimax fits, on residuals and gradients
// given directly: the certificate's verdict on configurations whose answer geometry decides, its
// multipliers checked here from the gradients, and the step LP against sampled steps.
#include "numeric/minimax_step.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace vantor {
namespace detail {
namespace {

using gradients = std::vector<std::vector<double>>;

// A pool of outer contacts at value 1 and inner contacts at value 0.
linearisation contacts(int parameters, const gradients& outer, const gradients& inner) {
    linearisation lin;
    lin.parameters = parameters;
    for (const auto* side : {&outer, &inner}) {
        for (const std::vector<double>& g : *side) {
            lin.value.push_back(side == &outer ? 1.0 : 0.0);
            lin.gradient.insert(lin.gradient.end(), g.begin(), g.end());
        }
    }
    lin.find_extremes();
    return lin;
}

// The multipliers are non-negative, sum to 1 on each bounded side, sit on contacts and balance.
void expect_balanced(const certificate& c, const linearisation& lin, minimax_sides sides,
                     const char* name) {
    std::vector<double> balance(static_cast<std::size_t>(lin.parameters), 0.0);
    const auto fold = [&](const std::vector<std::size_t>& at, const std::vector<double>& weights,
                          double sign, double value) {
        double total = 0.0;
        for (std::size_t k = 0; k < at.size(); ++k) {
            EXPECT_GT(weights[k], 0.0) << name;
            EXPECT_EQ(lin.value[at[k]], value) << name;
            total += weights[k];
            for (int j = 0; j < lin.parameters; ++j)
                balance[static_cast<std::size_t>(j)] +=
                    sign * weights[k] * lin.gradient_of(at[k])[j];
        }
        return total;
    };
    if (sides != minimax_sides::inner) {
        EXPECT_NEAR(fold(c.outer, c.outer_weights, 1.0, lin.high), 1.0, 1e-12) << name;
    }
    if (sides != minimax_sides::outer) {
        EXPECT_NEAR(fold(c.inner, c.inner_weights, -1.0, lin.low), 1.0, 1e-12) << name;
    }
    for (double b : balance) EXPECT_NEAR(b, 0.0, 1e-11) << name;
}

TEST(MinimaxCertificate, DecidesByTheContactsGradients) {
    const double h = std::sqrt(0.5);
    struct verdict {
        const char* name;
        minimax_sides sides;
        int parameters;
        gradients outer, inner;
        bool holds;
    };
    const verdict cases[] = {
        {"circumscribed, three contacts around",
         minimax_sides::outer,
         2,
         {{1, 0}, {-0.5, 0.8}, {-0.5, -0.8}},
         {},
         true},
        {"circumscribed, diametral pair", minimax_sides::outer, 2, {{h, h}, {-h, -h}}, {}, true},
        {"circumscribed, contacts in one half plane",
         minimax_sides::outer,
         2,
         {{1, 0}, {0, 1}, {h, -h}},
         {},
         false},
        {"inscribed, tetrahedral contacts",
         minimax_sides::inner,
         3,
         {},
         {{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}},
         true},
        {"inscribed, contacts in one half space",
         minimax_sides::inner,
         3,
         {},
         {{1, 0, 0.2}, {0, 1, 0.2}, {-1, 0, 0.2}, {0, -1, 0.2}},
         false},
        {"inscribed, three of the tetrahedral contacts",
         minimax_sides::inner,
         3,
         {},
         {{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}},
         false},
        {"zone, alternating contacts",
         minimax_sides::both,
         2,
         {{1, 0}, {-1, 0}},
         {{0, 1}, {0, -1}},
         true},
        {"zone, outer and inner hulls meeting off the origin",
         minimax_sides::both,
         2,
         {{1, 1}, {-1, 1}},
         {{0, 2}, {0, 0}},
         true},
        {"zone, separated hulls",
         minimax_sides::both,
         2,
         {{1, 0}, {1, 1}},
         {{-1, 0}, {-1, 1}},
         false},
        {"zone, one parameter, no inner contact beside the outer one",
         minimax_sides::both,
         1,
         {{1}},
         {{-1}},
         false},
    };
    for (const verdict& v : cases) {
        const linearisation lin = contacts(v.parameters, v.outer, v.inner);
        const certificate c = certify(lin, v.sides, 1e-12, 1e-12);
        EXPECT_EQ(c.holds, v.holds) << v.name << ": stationarity " << c.stationarity;
        if (v.holds) expect_balanced(c, lin, v.sides, v.name);
    }
}

// Thousands of tied contacts (every direction of a fine sphere) certify through a few rows: at
// most parameters + 1 multipliers are positive (Caratheodory), and only contacts count.
TEST(MinimaxCertificate, ManyTiedContactsNeedOnlyAFewMultipliers) {
    gradients around;
    const int n = 3000;
    for (int i = 0; i < n; ++i) {
        const double z = 1.0 - 2.0 * (i + 0.5) / n, r = std::sqrt(1.0 - z * z);
        const double a = 2.399963229728653 * i;  // the golden angle
        around.push_back({r * std::cos(a), r * std::sin(a), z});
    }
    linearisation lin = contacts(3, around, {});
    // Every other direction lies below the extreme by twice the contact tolerance: not a contact.
    for (int i = 1; i < n; i += 2) lin.value[static_cast<std::size_t>(i)] -= 2e-12;
    const certificate c = certify(lin, minimax_sides::outer, 1e-12, 1e-12);
    ASSERT_TRUE(c.holds) << c.stationarity;
    EXPECT_LE(c.outer.size(), 4u);
    expect_balanced(c, lin, minimax_sides::outer, "tied sphere");
}

// The step is in the box, its reported extremes are the model's, and no sampled step in the
// box (corners included) gives a better model objective.
TEST(MinimaxStep, NoStepInTheBoxBeatsTheLinearProgram) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    for (const minimax_sides sides :
         {minimax_sides::outer, minimax_sides::inner, minimax_sides::both}) {
        for (int parameters = 1; parameters <= 5; ++parameters) {
            linearisation lin;
            lin.parameters = parameters;
            for (int i = 0; i < 60; ++i) {
                lin.value.push_back(0.01 * unit(rng));
                for (int k = 0; k < parameters; ++k) lin.gradient.push_back(unit(rng));
            }
            lin.find_extremes();
            const double radius = 0.003;
            working_set w;
            const model_step m = solve_model(lin, sides, radius, w, 1e-15);
            double low = INFINITY, high = -INFINITY;
            for (std::size_t i = 0; i < lin.size(); ++i) {
                low = std::min(low, lin.model(i, m.step.data()));
                high = std::max(high, lin.model(i, m.step.data()));
            }
            for (double s : m.step) EXPECT_LE(std::abs(s), radius);
            EXPECT_DOUBLE_EQ(m.low, low);
            EXPECT_DOUBLE_EQ(m.high, high);
            const double best = minimax_objective(sides, low, high);
            std::vector<double> trial(static_cast<std::size_t>(parameters));
            for (int sample = 0; sample < 4000; ++sample) {
                for (double& t : trial)
                    t = radius * (sample % 2 == 0 ? (unit(rng) < 0 ? -1.0 : 1.0) : unit(rng));
                double tl = INFINITY, th = -INFINITY;
                for (std::size_t i = 0; i < lin.size(); ++i) {
                    tl = std::min(tl, lin.model(i, trial.data()));
                    th = std::max(th, lin.model(i, trial.data()));
                }
                ASSERT_GE(minimax_objective(sides, tl, th), best - 1e-13)
                    << "parameters " << parameters << " sample " << sample;
            }
        }
    }
}

}  // namespace
}  // namespace detail
}  // namespace vantor
