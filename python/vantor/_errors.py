# SPDX-License-Identifier: Apache-2.0
"""The errors of failed fits and evaluations, with the library's status codes."""

from __future__ import annotations


class EvaluationError(ValueError):
    """A fit or evaluation that failed.

    Attributes
    ----------
    status : str
        The kind of failure, as the library and the tool's JSON name it: "refused" (the request
        itself: a criterion the element lacks, an option out of range, points that are not one
        profile), "too_few_points", "invalid_points" (an infinite coordinate, or one too large
        to compute with), "degenerate" (the points determine no such element),
        "not_determined", "not_converged", "outside_domain" or "invalid_result".
    """

    def __init__(self, message: str, status: str = "refused") -> None:
        super().__init__(message)
        self.status = status


class FitError(EvaluationError):
    """A fit (vantor.fit) that failed; see EvaluationError."""


def prefixed(what: str, error: ValueError) -> EvaluationError:
    """The error with "what: " before its message, of its class and status; a plain ValueError
    (an argument the C++ side refused) becomes an EvaluationError with status "refused"."""
    kind = type(error) if isinstance(error, EvaluationError) else EvaluationError
    return kind(f"{what}: {error}", getattr(error, "status", "refused"))


# Shown as the package names them: vantor.EvaluationError, vantor.FitError.
EvaluationError.__module__ = "vantor"
FitError.__module__ = "vantor"
