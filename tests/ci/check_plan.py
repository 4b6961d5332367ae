#!/usr/bin/env python3
"""Checks the pipelines "moxtal plan" wrote for one script against each other and against the
published schema of GitHub workflows.

    check_plan.py PLAN.json WORKFLOW.yml GITLAB.yml [GITHUB_SCHEMA.json]

PLAN.json is the graph (--format json). The GitHub workflow must validate against the schema
(when given), and in both pipelines the needs of every job must be the graph's, and every output
a job takes must be one that a job it needs hands on. Prints each problem; exits 1 when there
is one."""
import json
import sys

import yaml

problems = []


def problem(text):
    problems.append(text)
    print(text)


def main():
    plan_file, github_file, gitlab_file = sys.argv[1:4]
    schema_file = sys.argv[4] if len(sys.argv) > 4 else None
    with open(plan_file, encoding="utf-8") as f:
        plan = json.load(f)
    # Read as YAML 1.2 reads it: the key "on" is quoted in the workflow, so YAML 1.1 readers
    # (PyYAML) see a string too.
    with open(github_file, encoding="utf-8") as f:
        workflow = yaml.safe_load(f)
    with open(gitlab_file, encoding="utf-8") as f:
        gitlab = yaml.safe_load(f)

    jobs = {a["job"]: a for a in plan["actions"]}
    by_name = {a["name"]: a for a in plan["actions"]}
    graph = {a["job"]: sorted(by_name[n]["job"] for n in a["needs"]) for a in plan["actions"]}

    if schema_file:
        import jsonschema
        with open(schema_file, encoding="utf-8") as f:
            schema = json.load(f)
        validator = jsonschema.Draft7Validator(schema)
        for error in sorted(validator.iter_errors(workflow), key=lambda e: list(e.path)):
            problem("github: schema: %s at %s" % (error.message, "/".join(map(str, error.path))))

    # GitHub: needs, uploads and downloads.
    if sorted(workflow["jobs"]) != sorted(jobs):
        problem("github: the jobs are %s, the graph's %s" % (sorted(workflow["jobs"]), sorted(jobs)))
    uploads = {}
    for job_id, job in workflow["jobs"].items():
        needs = job.get("needs", [])
        needs = [needs] if isinstance(needs, str) else needs
        if sorted(needs) != graph.get(job_id):
            problem("github: %s needs %s, the graph %s" % (job_id, sorted(needs), graph.get(job_id)))
        for step in job["steps"]:
            if step.get("uses", "").startswith("actions/upload-artifact@"):
                paths = step["with"]["path"].split("\n")
                uploads[step["with"]["name"]] = (job_id, paths)
                if sorted(paths) != sorted(jobs[job_id]["outputs"]):
                    problem("github: %s uploads %s, its outputs are %s"
                            % (job_id, paths, jobs[job_id]["outputs"]))
            if step.get("uses", "").startswith("github/codeql-action/upload-sarif@"):
                want = "moxtal/%s/%s/" % (plan["script"], jobs[job_id]["name"])
                if step["with"]["category"] != want:
                    problem("github: %s uploads its SARIF as %s, not %s"
                            % (job_id, step["with"]["category"], want))
    for job_id, job in workflow["jobs"].items():
        needs = job.get("needs", [])
        needs = [needs] if isinstance(needs, str) else needs
        for step in job["steps"]:
            if not step.get("uses", "").startswith("actions/download-artifact@"):
                continue
            name = step["with"]["name"]
            if name not in uploads:
                problem("github: %s downloads %s, which no job uploads" % (job_id, name))
                continue
            source, paths = uploads[name]
            if source not in needs:
                problem("github: %s downloads from %s, which it does not need" % (job_id, source))
            # An upload is rooted at the deepest folder that holds all its files; the download
            # must unpack there for each file to land where the project expects it.
            folders = [p.split("/")[:-1] for p in paths]
            common = folders[0]
            for f in folders[1:]:
                n = 0
                while n < min(len(common), len(f)) and common[n] == f[n]:
                    n += 1
                common = common[:n]
            root = "/".join(common) or "."
            if step["with"]["path"] != root:
                problem("github: %s unpacks %s into %s, not %s"
                        % (job_id, name, step["with"]["path"], root))
    for job_id, needed in graph.items():
        taken = [s["with"]["name"] for s in workflow["jobs"][job_id]["steps"]
                 if s.get("uses", "").startswith("actions/download-artifact@")]
        for n in needed:
            if jobs[n]["outputs"] and "moxtal-" + n not in taken:
                problem("github: %s does not take the outputs of %s" % (job_id, n))

    # GitLab: a job per action, needs with artifacts, outputs kept as artifacts.
    known = {"stage", "tags", "needs", "script", "artifacts"}
    gitlab_jobs = {k: v for k, v in gitlab.items() if k != "stages"}
    if sorted(gitlab_jobs) != sorted(jobs):
        problem("gitlab: the jobs are %s, the graph's %s" % (sorted(gitlab_jobs), sorted(jobs)))
    for job_id, job in gitlab_jobs.items():
        if not set(job) <= known:
            problem("gitlab: %s has keys %s" % (job_id, sorted(set(job) - known)))
        if job.get("stage") not in gitlab.get("stages", []):
            problem("gitlab: %s is in stage %s, which is not declared" % (job_id, job.get("stage")))
        needs = sorted(n["job"] for n in job.get("needs", []))
        if needs != graph.get(job_id):
            problem("gitlab: %s needs %s, the graph %s" % (job_id, needs, graph.get(job_id)))
        if any(n.get("artifacts") is not True for n in job.get("needs", [])):
            problem("gitlab: %s does not take the artifacts of every job it needs" % job_id)
        paths = job["artifacts"]["paths"]
        if not set(jobs[job_id]["outputs"]) <= set(paths):
            problem("gitlab: %s keeps %s, its outputs are %s" % (job_id, paths, jobs[job_id]["outputs"]))
        if not isinstance(job.get("script"), list) or not all(isinstance(s, str) for s in job["script"]):
            problem("gitlab: %s has no script of texts" % job_id)

    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
